// The virtual meter's own checks: the fault option's form and a bounded request record.
#include "MeterProcess.h"
#include "MeterSim.h"
#include "device/Frame.h"

#include <QTest>

Q_DECLARE_METATYPE(MeterFault::Kind)

class MeterSimTest : public QObject {
    Q_OBJECT
private slots:
    void acceptedFaults_data();
    void acceptedFaults();
    void refusedFaults_data();
    void refusedFaults();
    void requestRecordIsBounded();
};

void MeterSimTest::acceptedFaults_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<MeterFault::Kind>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("subCommand");
    QTest::addColumn<int>("count");
    using K = MeterFault::Kind;
    QTest::newRow("status") << "status=7" << K::Status << 7 << -1 << -1 << 1;
    QTest::newRow("one block, every reply") << "status=2@0x09/0x88*-1" << K::Status << 2 << 0x09 << 0x88 << -1;
    QTest::newRow("decimal command") << "garbage=4@16" << K::Garbage << 4 << 16 << -1 << 1;
    QTest::newRow("leading zero is decimal") << "short=010@0x0A" << K::Short << 10 << 0x0A << -1 << 1;
    QTest::newRow("no value, a count") << "silent*3" << K::Silent << 0 << -1 << -1 << 3;
    QTest::newRow("delay") << "delay=500*-1" << K::Delay << 500 << -1 << -1 << -1;
    QTest::newRow("echo on one command") << "echo@0x10" << K::EchoMismatch << 0 << 0x10 << -1 << 1;
}

void MeterSimTest::acceptedFaults()
{
    QFETCH(QString, text);
    QFETCH(MeterFault::Kind, kind);
    QFETCH(int, value);
    QFETCH(int, command);
    QFETCH(int, subCommand);
    QFETCH(int, count);
    QString error;
    const std::optional<MeterFault> f = ParseMeterFault(text, &error);
    QVERIFY2(f, qPrintable(error));
    QCOMPARE(f->kind, kind);
    QCOMPARE(f->value, value);
    QCOMPARE(f->command, command);
    QCOMPARE(f->subCommand, subCommand);
    QCOMPARE(f->count, count);
}

void MeterSimTest::refusedFaults_data()
{
    QTest::addColumn<QString>("text");
    // Once taken as "status 2 on every command, forever".
    QTest::newRow("count before the command") << "status=2*-1@0x09";
    QTest::newRow("empty") << "";
    QTest::newRow("unknown kind") << "busy=7";
    QTest::newRow("value missing") << "status";
    QTest::newRow("value empty") << "status=";
    QTest::newRow("value not a number") << "status=x";
    QTest::newRow("value negative") << "short=-1";
    QTest::newRow("status beyond 16 bits") << "status=65536";
    QTest::newRow("value where none is taken") << "silent=3";
    QTest::newRow("command missing") << "status=2@";
    QTest::newRow("command beyond a byte") << "status=2@0x100";
    QTest::newRow("command not hex") << "status=2@0x0G";
    QTest::newRow("sub-command missing") << "status=2@0x09/";
    QTest::newRow("three parts") << "status=2@0x09/0x88/1";
    QTest::newRow("count zero") << "status=2*0";
    QTest::newRow("count missing") << "status=2*";
    QTest::newRow("two counts") << "delay=5*2*3";
    QTest::newRow("a space") << "status= 2";
    QTest::newRow("plus sign") << "status=+2";
}

void MeterSimTest::refusedFaults()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY(!ParseMeterFault(text, &error));
    QVERIFY(error.contains(text));

    // The program itself: a usage error that shows the accepted form.
    if (QByteArray(QTest::currentDataTag()) == "count before the command") {
        QString out, err;
        QCOMPARE(RunProgram(QStringLiteral(METER_SIM_PATH), {QStringLiteral("--fault"), text}, &out, &err), 2);
        QVERIFY2(err.contains(QStringLiteral("usage: ") + MeterFaultForm()), qPrintable(err));
        QCOMPARE(out, QString());
    }
}

void MeterSimTest::requestRecordIsBounded()
{
    // Link tests to addresses 1, 2, 3...: the record keeps the newest, in order.
    MeterSim meter;
    const int sent = MeterSim::kMaxRecordedRequests + 5;
    for (int address = 1; address <= sent; ++address)
        meter.Handle(frame::BuildRequest(frame::kCmdLinkTest, 0, std::uint16_t(address), frame::kKindOther));
    QCOMPARE(meter.Requests().size(), MeterSim::kMaxRecordedRequests);
    QCOMPARE(meter.Requests().first(), frame::BuildRequest(frame::kCmdLinkTest, 0, 6, frame::kKindOther));
    QCOMPARE(meter.Requests().last(), frame::BuildRequest(frame::kCmdLinkTest, 0, std::uint16_t(sent), frame::kKindOther));
}

QTEST_GUILESS_MAIN(MeterSimTest)
#include "tst_metersim.moc"
