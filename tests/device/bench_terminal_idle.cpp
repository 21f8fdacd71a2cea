// Not a test: how much processor time the program takes with the terminal tab open on an
// idle port. Opens a pseudo-terminal, shows "Терминал" on it and sits for the given number
// of seconds (10 unless told), then prints the share of one core used meanwhile.
#include "Pty.h"
#include "ScriptedPrompt.h"
#include "TerminalWindow.h"
#include "device/TerminalView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    Pty pty;
    QString error;
    if (!pty.Create(QString(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    const std::unique_ptr<CMainFrame> window = TerminalWindow(prompt, dir.filePath(QStringLiteral("settings.ini")));
    CMainFrame& frame = *window;
    CTerminalView* page = frame.View().TerminalPage();
    QTimer::singleShot(500, [&] {
        page->SetPortList({pty.SlavePath()}, pty.SlavePath());
        frame.View().SetCurrentTab(PageId::Terminal);
        std::printf("port %s open: %s\n", qPrintable(pty.SlavePath()), page->IsPortOpen() ? "yes" : "no");
        const double cpuStart = CpuSeconds();
        auto* clock = new QElapsedTimer;
        clock->start();
        QTimer::singleShot(seconds * 1000, [&app, cpuStart, clock] {
            const double used = CpuSeconds() - cpuStart;
            const double wall = double(clock->elapsed()) / 1000.0;
            std::printf("idle terminal: %.3f s of processor time in %.1f s: %.2f %% of one core\n", used, wall,
                        100.0 * used / wall);
            delete clock;
            app.quit();
        });
    });
    return app.exec();
}
