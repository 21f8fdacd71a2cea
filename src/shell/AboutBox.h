#pragma once
// "О программе...": the program's name, version and purpose painted in its own colours.
#include <QDialog>

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    struct Line {
        QRect rect;
        QString text;
    };
    // The painted texts with their rectangles.
    static const QList<Line>& Lines();
    static QColor TextColour() { return QColor(0, 64, 128); }
    static QColor BackgroundColour() { return QColor(235, 235, 235); }

protected:
    void paintEvent(QPaintEvent* event) override;
};
