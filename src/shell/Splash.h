#pragma once
// The splash window: the splash picture over the main window for 750 ms. A key press or a
// mouse press anywhere in the program closes it early and is swallowed, so it never reaches
// the window below.
#include <QPointer>
#include <QTimer>
#include <QWidget>

class CSplashWnd : public QWidget {
public:
    static constexpr int kShowMs = 750;

    // Shows the one splash over owner (does nothing while one is shown).
    static void ShowSplashScreen(QWidget* owner);
    static CSplashWnd* Current() { return s_current; }

    ~CSplashWnd() override;

protected:
    explicit CSplashWnd(QWidget* owner);
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HideSplashScreen();

    QPixmap m_picture;
    QTimer m_timer;
    QPointer<QWidget> m_owner;
    static CSplashWnd* s_current;
};
