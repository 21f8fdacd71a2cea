#pragma once
// The progress indicator the page routines step while they exchange blocks with the meter.
// The GUI's status-bar bar implements it; the command-line tool and the tests use their own.
#include <QThread>

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetStep(int step) = 0;
    virtual void StepIt() = 0;
    // Moves the bar to a position (the routines use it to show the end).
    virtual void SetPosition(int position) = 0;
    // The short pauses between steps and between polls of the meter. The GUI may keep its
    // window painted meanwhile; the default just sleeps.
    virtual void Pause(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }
};

// Shows nothing; pauses like the default.
class NullProgress : public ProgressSink {
public:
    void SetRange(int, int) override {}
    void SetStep(int) override {}
    void StepIt() override {}
    void SetPosition(int) override {}
};
