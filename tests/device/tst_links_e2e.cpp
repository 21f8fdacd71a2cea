// End to end: the real links against the meter-sim program over TCP loopback and a
// pseudo-terminal, and the command-line tool against it.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "device/DeviceMessages.h"
#include "device/EthernetPort.h"
#include "device/ProcessCommand.h"
#include "device/SerialPort.h"
#include "model/ConfigModel.h"
#include "setpoints/SetpointBlocks.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) & 0xFF);
    return bytes;
}

// An engine on a link, as the pages set it up before their exchanges.
struct Engine {
    ScriptedPrompt prompt;
    CProcessCommand engine{prompt};
    Engine(CSerial& link, const QString& port, std::uint32_t parameter)
    {
        engine.SetTransport(&link);
        engine.SetPortName(port);
        engine.SetLinkParameter(parameter);
        engine.SetDeviceAddress(1);
    }
};

// Identification, a 1308-byte block write and its read-back over one link.
void IdentifyWriteRead(CSerial& link, const QString& port, std::uint32_t parameter)
{
    Engine e(link, port, parameter);
    ScriptedPrompt& prompt = e.prompt;
    CProcessCommand& engine = e.engine;
    QVERIFY2(engine.TestLink(), qPrintable(prompt.texts().join('|')));
    prompt.LoginNext(2, "2222");
    QVERIFY(engine.Login(QByteArray()));
    DeviceIdentity id;
    QVERIFY(engine.Identify(&id));
    QCOMPARE(id.version, QByteArray("1.7.0 / 2.1.3"));
    QCOMPARE(id.serial, QByteArray("12345"));

    const QByteArray groups = Pattern(1308);
    std::uint8_t status = 99;
    QVERIFY(engine.WriteBlock(0x10, 0x81, reinterpret_cast<const std::uint8_t*>(groups.constData()), 1308, &status));
    QCOMPARE(status, 0);
    QByteArray back(1308, '\0');
    std::uint16_t length = 1308;
    QVERIFY(engine.ReadBlock(0x10, 0x01, reinterpret_cast<std::uint8_t*>(back.data()), &length));
    QCOMPARE(length, 1310);
    QCOMPARE(back, groups);
    QVERIFY(prompt.shown().size() == 1);  // only the login dialog
    QVERIFY(!link.IsOpen());
}

} // namespace

class LinksEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void tcp()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({"--tcp", "127.0.0.1:0"}));
        CEthernetPort link;
        IdentifyWriteRead(link, QStringLiteral("127.0.0.1"), meter.TcpPort());
    }

    void pseudoTerminal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("meter"));
        MeterProcess meter;
        QVERIFY(meter.Start({"--pty", path}));
        SilentPrompt silent;
        CSerialPort link(silent);
        IdentifyWriteRead(link, path, 115200);

        // An open port answers Open with true and keeps its name, and nobody else gets it.
        QVERIFY(link.Open(path, 9600));
        QVERIFY(link.Open(QStringLiteral("/dev/null-port"), 300));
        QCOMPARE(link.PortName(), path);
        QVERIFY(!PortExists(path));
        link.Close();
        QVERIFY(PortExists(path));
    }

    void serialOpenFailures()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("meter"));
        MeterProcess meter;
        QVERIFY(meter.Start({"--pty", path}));
        ScriptedPrompt prompt;
        CSerialPort link(prompt);
        QVERIFY(!link.Open(dir.filePath(QStringLiteral("nothing")), 9600));
        QVERIFY(prompt.shown().isEmpty());
        QVERIFY(!link.Open(path, 100000000));
        QCOMPARE(prompt.texts(), QStringList{msg::kRateNotSupported});
        QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("information")});
        QVERIFY(!link.IsOpen());
        QVERIFY(PortExists(path));
    }

    void tcpOpenFailures()
    {
        CEthernetPort link;
        link.SetWaitCount(25);
        QVERIFY(!link.Open(QStringLiteral("localhost"), 80));  // names are not resolved
        QVERIFY(!link.IsOpen());
        MeterProcess meter;
        QVERIFY(meter.Start({"--tcp", "127.0.0.1:0"}));
        const quint16 port = meter.TcpPort();
        Engine e(link, QStringLiteral("127.0.0.1"), port == 1 ? 2 : 1);  // nobody listens there
        ScriptedPrompt& prompt = e.prompt;
        CProcessCommand& engine = e.engine;
        prompt.LoginNext(1, "1111");
        QVERIFY(!engine.Login(QByteArray()));
        QCOMPARE(prompt.texts().last(), msg::OpenFailure(QStringLiteral("127.0.0.1")));
    }

    void lateReplyNeverReachesTheNextExchange()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({"--tcp", "127.0.0.1:0", "--fault", "delay=1500@0x16"}));
        CEthernetPort link;
        link.SetWaitCount(50);  // a 1 s time-out
        Engine e(link, QStringLiteral("127.0.0.1"), meter.TcpPort());
        ScriptedPrompt& prompt = e.prompt;
        CProcessCommand& engine = e.engine;
        prompt.LoginNext(1, "1111");
        std::uint8_t block[4] = {1, 2, 3, 4};
        std::uint16_t length = 4;
        QVERIFY(!engine.ReadBlock(0x16, 0x01, block, &length));
        QCOMPARE(prompt.texts().last(), msg::kBadReply);
        QTest::qWait(700);  // the late reply is sent now, into a closed connection
        length = 4;
        QVERIFY(engine.ReadBlock(0x16, 0x01, block, &length));
        QCOMPARE(length, 6);
        // The meter's own block (a new configuration's), not the late reply's bytes.
        QCOMPARE(QByteArray(reinterpret_cast<char*>(block), 4), setpoints::EncodeRvcBlock(NewConfigModel()));
    }

    void peerClosingEarlyEndsTheRead()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({"--tcp", "127.0.0.1:0", "--fault", "short=30@0x10"}));
        CEthernetPort link;
        Engine e(link, QStringLiteral("127.0.0.1"), meter.TcpPort());
        ScriptedPrompt& prompt = e.prompt;
        CProcessCommand& engine = e.engine;
        prompt.LoginNext(1, "1111");
        QByteArray back(1308, 'x');
        std::uint16_t length = 1308;
        QVERIFY(engine.ReadBlock(0x10, 0x01, reinterpret_cast<std::uint8_t*>(back.data()), &length));
        QCOMPARE(length, 7);
        // The six data bytes that came, then zeros.
        QCOMPARE(back, GroupsToBytes(NewConfigModel().groups).left(6) + QByteArray(1302, '\0'));
    }

    void commandLine()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({"--tcp", "127.0.0.1:0", "--serial", "4660", "--firmware", "1.7.4/2.2.0"}));
        const QString tcp = QStringLiteral("127.0.0.1:%1").arg(meter.TcpPort());
        const QString cli = QStringLiteral(LADOGRAF_CLI_PATH);
        QString out, err;
        QCOMPARE(RunProgram(cli, {"identify", "--tcp", tcp, "--address", "1", "--password", "1111"}, &out, &err), 0);
        QCOMPARE(out, QStringLiteral("{\"serial\": \"4660\", \"version\": \"1.7.4 / 2.2.0\", \"modification\": \"Ворант-ПКЭ-1.7\"}\n"));

        for (const char* address : {"0", "65536"}) {
            QCOMPARE(RunProgram(cli, {"identify", "--tcp", tcp, "--address", address, "--password", "1111"}, &out, &err), 1);
            QCOMPARE(err, QStringLiteral("notice: ") + msg::kAddressRangePage + '\n');
        }
        QCOMPARE(RunProgram(cli, {"identify", "--tcp", tcp}, &out, &err), 2);

        QCOMPARE(RunProgram(cli, {"passwd", "--tcp", tcp, "--address", "1", "--level", "2", "--old", "2222", "--new", "Ab3"},
                            &out, &err),
                 0);
        QCOMPARE(err, QStringLiteral("notice: Пароль второго уровня изменён.\n"));
        QCOMPARE(RunProgram(cli, {"identify", "--tcp", tcp, "--address", "1", "--level", "2", "--password", "Ab3"}, &out, &err), 0);
        QCOMPARE(RunProgram(cli, {"passwd", "--tcp", tcp, "--address", "1", "--level", "1", "--old", "1111", "--new", "пароль"},
                            &out, &err),
                 1);
        QCOMPARE(err, QStringLiteral("notice: ") + msg::kPasswordBadCharacters + '\n');
        // The new password is checked first, as the dialog does before the address is read.
        QCOMPARE(RunProgram(cli, {"passwd", "--tcp", tcp, "--address", "0", "--level", "1", "--old", "1111", "--new", "a-b"},
                            &out, &err),
                 1);
        QCOMPARE(err, QStringLiteral("notice: ") + msg::kPasswordBadCharacters + '\n');
    }
};

QTEST_GUILESS_MAIN(LinksEndToEndTest)
#include "tst_links_e2e.moc"
