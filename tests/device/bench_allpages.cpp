// Measures read all and write all against meter-sim over TCP loopback, against the
// protocol's floor: the number of exchanges times the 100 ms pause, plus the pauses the
// page routines make between their progress steps. Also the five single-page reads, each
// with its own login and identification as five separate runs of the command would make.
//   bench_allpages
#include "MeterProcess.h"
#include "common/UserPrompt.h"
#include "device/EthernetPort.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "pages/AllPages.h"
#include "rules/TermDictionary.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

// Answers the login from the command line's point of view: second level, "2222", yes.
class BenchPrompt final : public UserPrompt {
public:
    void Message(MessageKind, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool Ask(QuestionKind, const QString&, QuestionIcon) override { return true; }
    std::optional<Credentials> Authenticate() override { return Credentials{2, "2222"}; }
};

class CountingProgress final : public NullProgress {
public:
    void Pause(int milliseconds) override
    {
        pausedMs += milliseconds;
        NullProgress::Pause(milliseconds);
    }
    long pausedMs = 0;
};

class Counter final : public FrameObserver {
public:
    void OnFrame(const FrameEvent& e) override { sent += e.direction == FrameEvent::Direction::Sent ? 1 : 0; }
    int sent = 0;
};

struct Run {
    double wallMs = 0;
    int exchanges = 0;
    long pausedMs = 0;
    bool ok = true;
};

template <typename Body>
Run Measure(quint16 port, ConfigModel& model, const TermDictionary& dictionary, Body body)
{
    BenchPrompt prompt;
    CEthernetPort link;
    CProcessCommand engine(prompt);
    engine.SetTransport(&link);
    Counter counter;
    engine.SetFrameObserver(&counter);
    CountingProgress progress;
    PageContext context{LinkSettings{QStringLiteral("127.0.0.1"), port, 1}, engine, model, progress, prompt, {}};
    PageHooks hooks;
    hooks.dictionary = &dictionary;
    QElapsedTimer clock;
    clock.start();
    Run run;
    run.ok = body(context, hooks);
    run.wallMs = double(clock.nsecsElapsed()) / 1e6;
    run.exchanges = counter.sent;
    run.pausedMs = progress.pausedMs;
    engine.SetFrameObserver(nullptr);
    return run;
}

void Print(const char* name, const Run& r)
{
    const double floor = r.exchanges * 100.0 + double(r.pausedMs);
    std::printf("%-16s %s  %3d exchanges  %5ld ms pauses  floor %7.1f ms  wall %7.1f ms  (+%.2f %%)\n", name,
                r.ok ? "ok  " : "FAIL", r.exchanges, r.pausedMs, floor, r.wallMs, (r.wallMs - floor) * 100.0 / floor);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    MeterProcess meter;
    if (!meter.Start({"--tcp", "127.0.0.1:0"})) {
        std::fprintf(stderr, "meter-sim did not start\n");
        return 1;
    }
    BenchPrompt prompt;
    TermDictionary dictionary;
    dictionary.Load(QStringLiteral(LADOGRAF_BUILT_DICTIONARY), prompt);
    const quint16 port = meter.TcpPort();

    ConfigModel all = NewConfigModel();
    Print("read all", Measure(port, all, dictionary, [](PageContext& c, const PageHooks& h) { return ReadAllPages(c, h); }));
    Print("write all", Measure(port, all, dictionary, [](PageContext& c, const PageHooks& h) { return WriteAllPages(c, h); }));

    Run single;
    ConfigModel one = NewConfigModel();
    for (PageId page : DevicePages()) {
        // A new file each time, as five runs of "read PAGE" into five new files would be.
        one = NewConfigModel();
        const Run r = Measure(port, one, dictionary,
                              [page](PageContext& c, const PageHooks& h) { return ReadActivePage(page, c, h); });
        single.wallMs += r.wallMs;
        single.exchanges += r.exchanges;
        single.pausedMs += r.pausedMs;
        single.ok = single.ok && r.ok;
    }
    Print("5 single reads", single);
    return 0;
}
