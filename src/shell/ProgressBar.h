#pragma once
// The progress indicator of the read and write commands: a bar inside a status-bar pane for
// the duration of one command. The pane shows the message, the bar takes the given share of
// the width the message leaves. Removing it hides the bar and puts the pane's text back.
#include "device/ProgressSink.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QProgressBar;

class CProgressBar : public QObject, public ProgressSink {
public:
    // pane may be null (no status bar): the indicator then only counts.
    // restoreText: the text the pane gets back (the idle text for the message pane).
    CProgressBar(QLabel* pane, const QString& message, int size, int maximum, bool smooth,
                 const QString& restoreText);
    ~CProgressBar() override;

    void SetRange(int minimum, int maximum) override;
    void SetStep(int step) override { m_step = step; }
    void StepIt() override;
    void SetPosition(int position) override;
    void SetMessage(const QString& message);

    int Value() const { return m_value; }
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    QProgressBar* Bar() const { return m_bar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QPointer<QLabel> m_pane;
    QProgressBar* m_bar = nullptr;
    QString m_message;
    QString m_restoreText;
    int m_size = 100;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_step = 1;
    int m_value = 0;
};
