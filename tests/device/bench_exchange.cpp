// Measures one exchange (a link test) against meter-sim over TCP loopback and over a
// pseudo-terminal at 115200 baud: wall time and CPU time per exchange, and the overhead
// beyond the protocol's 100 ms pause and the line's transfer time.
//   bench_exchange [COUNT]
#include "MemoryLink.h"
#include "MeterProcess.h"
#include "common/UserPrompt.h"
#include "device/EthernetPort.h"
#include "device/FrameTrace.h"
#include "device/ProcessCommand.h"
#include "device/SerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

void Measure(const char* name, CSerial& link, const QString& port, std::uint32_t parameter, int count,
             double transferMs, FrameObserver* observer = nullptr)
{
    SilentPrompt prompt;
    CProcessCommand engine(prompt);
    engine.SetFrameObserver(observer);
    engine.SetTransport(&link);
    engine.SetPortName(port);
    engine.SetLinkParameter(parameter);
    engine.SetDeviceAddress(1);
    engine.TestLink();  // warm up
    QElapsedTimer wall;
    const std::clock_t cpu0 = std::clock();
    wall.start();
    int ok = 0;
    for (int i = 0; i < count; ++i)
        ok += engine.TestLink() ? 1 : 0;
    const double wallMs = double(wall.nsecsElapsed()) / 1e6 / count;
    const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC / count;
    std::printf("%-6s %d/%d ok  wall %.2f ms  overhead %.2f ms (minus 100 ms pause, %.2f ms transfer)  cpu %.3f ms\n",
                name, ok, count, wallMs, wallMs - 100.0 - transferMs, transferMs, cpuMs);
}

// The engine's own CPU time per exchange against the in-process meter (no pause, no
// socket): with no observer, and with a trace written to a file.
void MeasureInMemory(const char* name, int count, FrameObserver* observer)
{
    MeterSim meter;
    MemoryLink link(meter);
    SilentPrompt prompt;
    CProcessCommand engine(prompt);
    engine.SetTransport(&link);
    engine.SetPauseFunction([](int) {});
    engine.SetPortName(QStringLiteral("COM1"));
    engine.SetDeviceAddress(1);
    engine.Login(meter.Password(1));
    engine.SetFrameObserver(observer);
    QByteArray block;
    if (!engine.ReadBlockInto(0x09, 0x02, 128, block))
        std::fprintf(stderr, "the in-memory read failed\n");
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < count; ++i)
        engine.ReadBlockInto(0x09, 0x02, 128, block);
    std::printf("%-6s %.2f us per 128-byte block exchange in memory\n", name,
                double(wall.nsecsElapsed()) / 1e3 / count);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const QString pty = dir.filePath(QStringLiteral("meter"));
    MeterProcess meter;
    if (!meter.Start({"--tcp", "127.0.0.1:0", "--pty", pty})) {
        std::fprintf(stderr, "meter-sim did not start\n");
        return 1;
    }
    CEthernetPort tcp;
    Measure("tcp", tcp, QStringLiteral("127.0.0.1"), meter.TcpPort(), count, 0.0);
    QFile traceFile(dir.filePath(QStringLiteral("bench.trace")));
    traceFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    frametrace::TraceWriter trace(traceFile);
    Measure("tcp+tr", tcp, QStringLiteral("127.0.0.1"), meter.TcpPort(), count, 0.0, &trace);
    for (int round = 0; round < 2; ++round) {
        MeasureInMemory("mem", 20000, nullptr);
        MeasureInMemory("mem+tr", 20000, &trace);
    }
    SilentPrompt silent;
    CSerialPort serial(silent);
    // 25 bytes out and 26 back, ten bits a byte at 115200 baud.
    Measure("pty", serial, pty, 115200, count, 51 * 10 * 1000.0 / 115200);
    return 0;
}
