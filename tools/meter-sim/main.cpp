// meter-sim: a virtual meter for a first run without hardware and for the tests.
//   meter-sim [--tcp HOST:PORT] [--pty PATH] [--config FILE.cfg] [--serial N]
//             [--firmware A.B.C/D.E.F] [--password1 P] [--password2 P] [--address N]
//             [--require-stop] [--fault KIND[=VALUE][@COMMAND[/SUB]][*COUNT]]...
//   meter-sim --help | --version
// It prints one line when it is ready and serves until it is stopped.
#include "MeterSim.h"
#include "MeterSimConfig.h"
#include "common/Version.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include "Pty.h"
#endif

#include <cstdio>
#include <memory>

namespace {

const char kHelpText[] =
    "usage: meter-sim [--tcp HOST:PORT] [--pty PATH] [--config FILE.cfg] [--serial N]\n"
    "                 [--firmware A.B.C/D.E.F] [--password1 P] [--password2 P] [--address N]\n"
    "                 [--require-stop] [--fault KIND[=VALUE][@COMMAND[/SUB]][*COUNT]]...\n"
    "       meter-sim --help | --version\n"
    "A virtual meter: serves TCP (default 127.0.0.1:5555) and/or a pseudo-terminal linked at PATH,\n"
    "prints one line \"meter-sim ready: ...\" and serves until stopped.\n"
    "Fault kinds: status=N, short=N, silent, hangup, badcheck, delay=MS, echo, garbage=N.\n";

void Fail(const QString& text)
{
    std::fprintf(stderr, "meter-sim: %s\n", text.toLocal8Bit().constData());
    std::exit(2);
}

QString NextValue(const QStringList& args, int& i)
{
    if (i + 1 >= args.size())
        Fail(QStringLiteral("option %1 needs a value").arg(args[i]));
    return args[++i];
}

MeterFault ParseFault(const QString& text)
{
    QString error;
    const std::optional<MeterFault> fault = ParseMeterFault(text, &error);
    if (!fault)
        Fail(error + QStringLiteral("\nusage: ") + MeterFaultForm());
    return *fault;
}

void Send(QTcpSocket* socket, const MeterReply& reply)
{
    if (!reply.bytes.isEmpty())
        socket->write(reply.bytes);
    if (reply.hangup)
        socket->disconnectFromHost();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();

    MeterSim::Options options;
    QString tcp, ptyPath, config;
    QList<MeterFault> faults;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--tcp")) {
            tcp = NextValue(args, i);
        } else if (a == QLatin1String("--pty")) {
            ptyPath = NextValue(args, i);
        } else if (a == QLatin1String("--config")) {
            config = NextValue(args, i);
        } else if (a == QLatin1String("--serial")) {
            options.serial = std::uint16_t(NextValue(args, i).toUInt());
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kHelpText, stdout);
            return 0;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            std::printf("meter-sim %s\n", kProgramVersion);
            return 0;
        } else if (a == QLatin1String("--firmware")) {
            const QStringList parts = NextValue(args, i).split(QLatin1Char('/'));
            if (parts.size() != 2)
                Fail(QStringLiteral("--firmware takes A.B.C/D.E.F"));
            options.version1 = parts[0].trimmed().toLatin1();
            options.version2 = parts[1].trimmed().toLatin1();
        } else if (a == QLatin1String("--password1")) {
            options.password1 = NextValue(args, i).toLatin1();
        } else if (a == QLatin1String("--password2")) {
            options.password2 = NextValue(args, i).toLatin1();
        } else if (a == QLatin1String("--address")) {
            options.address = std::uint16_t(NextValue(args, i).toUInt());
        } else if (a == QLatin1String("--require-stop")) {
            options.requireStop = true;
        } else if (a == QLatin1String("--fault")) {
            faults.append(ParseFault(NextValue(args, i)));
        } else {
            Fail(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (tcp.isEmpty() && ptyPath.isEmpty())
        tcp = QStringLiteral("127.0.0.1:5555");

    MeterSim meter(options);
    for (const MeterFault& f : faults)
        meter.InjectFault(f);
    if (!config.isEmpty()) {
        QString error;
        if (!LoadMeterConfig(meter, config, &error))
            Fail(error);
    }

    QStringList ready;
    QTcpServer server;
    if (!tcp.isEmpty()) {
        const QString host = tcp.section(QLatin1Char(':'), 0, -2);
        const quint16 port = quint16(tcp.section(QLatin1Char(':'), -1).toUInt());
        if (!server.listen(QHostAddress(host), port))
            Fail(QStringLiteral("cannot listen on %1: %2").arg(tcp, server.errorString()));
        QObject::connect(&server, &QTcpServer::newConnection, [&server, &meter] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                auto assembler = std::make_shared<FrameAssembler>();
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, assembler, &meter] {
                    assembler->Append(socket->readAll());
                    while (const auto request = assembler->Next()) {
                        const MeterReply reply = meter.Handle(*request);
                        if (reply.delayMs > 0)
                            QTimer::singleShot(reply.delayMs, socket, [socket, reply] { Send(socket, reply); });
                        else
                            Send(socket, reply);
                    }
                });
            }
        });
        ready << QStringLiteral("tcp %1:%2").arg(server.serverAddress().toString()).arg(server.serverPort());
    }

#ifdef Q_OS_UNIX
    Pty pty;
    std::unique_ptr<QSocketNotifier> notifier;
    FrameAssembler ptyAssembler;
    QElapsedTimer sinceLastByte;
    if (!ptyPath.isEmpty()) {
        QString error;
        if (!pty.Create(ptyPath, &error))
            Fail(error);
        notifier = std::make_unique<QSocketNotifier>(pty.MasterFd(), QSocketNotifier::Read);
        sinceLastByte.start();
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            char buffer[4096];
            const long n = pty.ReadSome(buffer, sizeof buffer);
            if (n <= 0)
                return;
            // A pause of half a second means a new request; drop a half-received one.
            if (sinceLastByte.restart() > 500)
                ptyAssembler.Reset();
            ptyAssembler.Append(QByteArrayView(buffer, n));
            while (const auto request = ptyAssembler.Next()) {
                const MeterReply reply = meter.Handle(*request);
                auto send = [&pty, reply] { pty.WriteAll(reply.bytes.constData(), reply.bytes.size()); };
                if (reply.delayMs > 0)
                    QTimer::singleShot(reply.delayMs, send);
                else
                    send();
            }
        });
        ready << QStringLiteral("pty %1").arg(ptyPath);
    }
#else
    if (!ptyPath.isEmpty())
        Fail(QStringLiteral("--pty needs a POSIX system"));
#endif

    std::printf("meter-sim ready: %s\n", ready.join(QStringLiteral(", ")).toLocal8Bit().constData());
    std::fflush(stdout);
    return app.exec();
}
