// The command line's --trace against the meter-sim program over TCP: the trace holds exactly
// the frames the meter received and sent, in order, also when a reply is cut short or comes
// late; a reply damaged on the way is flagged, the same reply undamaged is not.
#include "MeterProcess.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct TraceFrame {
    QString direction;  // as the program saw it: TX sent to the meter, RX received from it
    QString hex;
    QString description;
};

QList<TraceFrame> ReadTrace(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<TraceFrame> frames;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int hash = line.indexOf(QLatin1String("  # "));
        const QStringList words = line.left(hash).split(QLatin1Char(' '));
        TraceFrame f;
        f.direction = words.value(1);
        f.hex = words.mid(2).join(QLatin1Char(' ')).trimmed();
        f.description = hash < 0 ? QString() : line.mid(hash + 4);
        frames << f;
    }
    return frames;
}

// The meter's record as the program would see it: what the meter received was sent to it.
QStringList MeterFrames(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList frames;
    for (const QString& line : QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        frames << (line.startsWith(QLatin1String("RX ")) ? QStringLiteral("TX ") : QStringLiteral("RX ")) + line.mid(3);
    return frames;
}

// Every frame that carried bytes; a reply that never came is a line without any.
QStringList WireFrames(const QList<TraceFrame>& trace)
{
    QStringList frames;
    for (const TraceFrame& f : trace) {
        if (!f.hex.isEmpty())
            frames << f.direction + QLatin1Char(' ') + f.hex;
    }
    return frames;
}

// Passes every connection on to the meter; flips one bit of the reply to one command.
class FlippingProxy : public QObject {
public:
    FlippingProxy(quint16 meterPort, int command, int subCommand, int offset)
        : m_meterPort(meterPort), m_command(command), m_subCommand(subCommand), m_offset(offset)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* client = m_server.nextPendingConnection())
                Serve(client);
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    int Flipped() const { return m_flipped; }

private:
    void Serve(QTcpSocket* client)
    {
        auto* meter = new QTcpSocket(client);
        auto request = std::make_shared<QByteArray>();
        auto replied = std::make_shared<int>(0);
        meter->connectToHost(QHostAddress::LocalHost, m_meterPort);
        auto forward = [client, meter, request] {
            if (meter->state() == QAbstractSocket::ConnectedState && !request->isEmpty())
                meter->write(*request);
        };
        connect(meter, &QTcpSocket::connected, meter, forward);
        connect(client, &QTcpSocket::readyRead, client, [client, meter, request] {
            const QByteArray bytes = client->readAll();
            request->append(bytes);
            if (meter->state() == QAbstractSocket::ConnectedState)
                meter->write(bytes);
        });
        connect(meter, &QTcpSocket::readyRead, meter, [this, client, meter, request, replied] {
            QByteArray bytes = meter->readAll();
            const bool target = request->size() > 7 && std::uint8_t(request->at(6)) == m_command
                && std::uint8_t(request->at(7)) == m_subCommand;
            const int at = m_offset - *replied;
            if (target && at >= 0 && at < bytes.size()) {
                bytes[at] = char(bytes[at] ^ 0x04);
                ++m_flipped;
            }
            *replied += int(bytes.size());
            client->write(bytes);
        });
        connect(meter, &QTcpSocket::disconnected, client, [client] { client->disconnectFromHost(); });
        connect(client, &QTcpSocket::disconnected, client, [client, meter] {
            meter->abort();
            client->deleteLater();
        });
    }

    QTcpServer m_server;
    quint16 m_meterPort;
    int m_command;
    int m_subCommand;
    int m_offset;
    int m_flipped = 0;
};

} // namespace

class TraceEndToEndTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // Runs the program with the event loop going, so a proxy in this process can serve it.
    int Cli(const QStringList& arguments, QString* err = nullptr)
    {
        QProcess p;
        QSignalSpy finished(&p, &QProcess::finished);
        p.start(QStringLiteral(LADOGRAF_CLI_PATH), arguments);
        if (!finished.wait(60000))
            return -1;
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QStringList ReadSetpoints(quint16 port, const QString& trace, const QString& timeout = QStringLiteral("5"))
    {
        return {QStringLiteral("read"), QStringLiteral("setpoints"), QStringLiteral("--tcp"),
                QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("--timeout"), timeout,
                QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("--password"), QStringLiteral("1111"),
                QStringLiteral("--cfg"), m_dir.filePath(QStringLiteral("read.cfg")), QStringLiteral("--trace"), trace};
    }

private slots:
    void traceHoldsWhatTheMeterSaw_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("finding");  // in the trace; empty: nothing flagged at all
        QTest::addColumn<int>("settleMs");     // until a delayed reply would have been sent
        QTest::newRow("clean") << QString() << 0 << QString() << 0;
        // The calculation block counts as complete without its checksum byte.
        QTest::newRow("short reply taken") << "short=35@0x09/0x07" << 0 << "! короткий ответ: 35 из 36 байт" << 0;
        QTest::newRow("short reply refused") << "short=40@0x09/0x02" << 1 << "! короткий ответ: 40 из 153 байт" << 0;
        QTest::newRow("late reply") << "delay=400@0x0F" << 0 << QString() << 0;
        // The program has given up and closed the connection when the reply is due.
        QTest::newRow("reply after the time-out") << "delay=1300@0x0F" << 1 << "! нет ответа" << 400;
        QTest::newRow("silent meter") << "silent@0x09/0x03" << 1 << "! нет ответа" << 0;
    }
    void traceHoldsWhatTheMeterSaw()
    {
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, finding);
        QFETCH(int, settleMs);
        const QString record = m_dir.filePath(QStringLiteral("meter.rec"));
        const QString trace = m_dir.filePath(QStringLiteral("cli.trace"));
        QStringList arguments{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--record"), record};
        if (!fault.isEmpty())
            arguments << QStringLiteral("--fault") << fault;
        MeterProcess meter;
        QVERIFY(meter.Start(arguments));
        QString err;
        QCOMPARE(Cli(ReadSetpoints(meter.TcpPort(), trace, QStringLiteral("1")), &err), exitCode);
        if (settleMs > 0)
            QTest::qWait(settleMs);

        const QList<TraceFrame> frames = ReadTrace(trace);
        QVERIFY(!frames.isEmpty());
        QCOMPARE(WireFrames(frames), MeterFrames(record));
        // Request, reply, request, reply...
        for (int i = 0; i < frames.size(); ++i)
            QCOMPARE(frames[i].direction, i % 2 == 0 ? QStringLiteral("TX") : QStringLiteral("RX"));
        QStringList flagged;
        for (const TraceFrame& f : frames) {
            if (f.description.contains(QLatin1String("! ")))
                flagged << f.description;
        }
        if (finding.isEmpty()) {
            QCOMPARE(flagged, QStringList());
        } else {
            QCOMPARE(flagged.size(), 1);
            QVERIFY2(flagged.first().endsWith(finding), qPrintable(flagged.first()));
        }
    }

    void damagedReplyIsFlagged_data()
    {
        QTest::addColumn<bool>("flip");
        QTest::newRow("bit flipped on the way") << true;
        QTest::newRow("the same exchange undamaged") << false;
    }
    void damagedReplyIsFlagged()
    {
        QFETCH(bool, flip);
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
        // Byte 30 is the sixth data byte of the voltage block.
        FlippingProxy proxy(meter.TcpPort(), 0x09, flip ? 0x02 : -1, 30);
        const QString trace = m_dir.filePath(QStringLiteral("proxy.trace"));
        QCOMPARE(Cli(ReadSetpoints(proxy.Port(), trace)), 0);
        QCOMPARE(proxy.Flipped(), flip ? 1 : 0);

        QStringList flagged;
        for (const TraceFrame& f : ReadTrace(trace)) {
            if (f.description.contains(QLatin1String("! ")))
                flagged << f.description;
        }
        if (flip)
            QCOMPARE(flagged, QStringList{QStringLiteral("09/02 чтение: уставки, напряжение, статус 0 (выполнено), "
                                                         "длина данных 128, ! контрольная сумма не совпадает")});
        else
            QCOMPARE(flagged, QStringList());
    }

    void traceFileThatCannotBeWritten()
    {
        QString err;
        QCOMPARE(Cli(ReadSetpoints(1, m_dir.filePath(QStringLiteral("no/such/folder/t.trace"))), &err), 1);
        QVERIFY2(err.startsWith(QStringLiteral("error: Не удалось открыть файл журнала обмена")), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TraceEndToEndTest)
#include "tst_trace_e2e.moc"
