#pragma once
// An engine wired to an in-process virtual meter, logged in at the second level, with a
// progress sink that records what the routines do with it. Shared by the block-exchange
// tests of the setpoint, selection, rules and device subsystems.
#include "MemoryLink.h"
#include "MeterSim.h"
#include "ScriptedPrompt.h"
#include "device/Frame.h"
#include "device/PageRoutine.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"

#include <QList>
#include <QTest>

class RecordingProgress : public ProgressSink {
public:
    void SetRange(int minimum, int maximum) override { ranges << qMakePair(minimum, maximum); }
    void SetStep(int step) override { steps << step; }
    void StepIt() override { ++stepped; }
    void SetPosition(int position) override { positions << position; }
    void Pause(int milliseconds) override { pauses << milliseconds; }

    QList<QPair<int, int>> ranges;
    QList<int> steps;
    QList<int> positions;
    QList<int> pauses;
    int stepped = 0;
};

// One request as the meter saw it.
struct SentFrame {
    int command;
    int subCommand;
    QByteArray data;
    bool operator==(const SentFrame&) const = default;
};

inline char* toString(const SentFrame& f)
{
    return qstrdup(QStringLiteral("%1/%2 %3")
                       .arg(f.command, 2, 16, QLatin1Char('0'))
                       .arg(f.subCommand, 2, 16, QLatin1Char('0'))
                       .arg(QString::fromLatin1(f.data.toHex()))
                       .toLatin1()
                       .constData());
}

struct ExchangeBench {
    MeterSim meter;
    MemoryLink link{meter};
    ScriptedPrompt prompt;
    CProcessCommand engine{prompt};
    RecordingProgress progress;
    LinkSettings settings{QStringLiteral("COM3"), 9600, 7};

    explicit ExchangeBench(int level = 2)
    {
        engine.SetTransport(&link);
        engine.SetPauseFunction([](int) {});
        engine.SetPortName(settings.portName);
        engine.SetDeviceAddress(std::uint16_t(settings.deviceAddress));
        if (level > 0) {
            prompt.LoginNext(level, meter.Password(level));
            if (!engine.Login(QByteArray()))
                qFatal("login failed");
        }
        meter.ClearRequests();
        prompt.clear();
    }

    // Every request but the logins, in order.
    QList<SentFrame> Sent() const
    {
        QList<SentFrame> out;
        for (const QByteArray& r : meter.Requests()) {
            frame::Header h;
            frame::ParseHeader(r, &h);
            if (h.command != frame::kCmdPassword)
                out << SentFrame{h.command, h.subCommand, r.mid(frame::kHeaderSize, h.length)};
        }
        return out;
    }
    // The writes among them.
    QList<SentFrame> Written() const
    {
        QList<SentFrame> out;
        for (const SentFrame& f : Sent()) {
            if (f.subCommand & frame::kWriteBit)
                out << f;
        }
        return out;
    }
    void Fault(MeterFault::Kind kind, int value, int command, int subCommand = -1, int count = 1)
    {
        MeterFault f;
        f.kind = kind;
        f.value = value;
        f.command = command;
        f.subCommand = subCommand;
        f.count = count;
        meter.InjectFault(f);
    }
};
