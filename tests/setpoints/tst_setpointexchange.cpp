// Reading and writing the setpoints against the in-process virtual meter: the blocks, their
// order and bytes, the decoded values, the clock, the mode, the address, the questions and
// the reports.
#include "ExchangeBench.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "setpoints/SetpointBlocks.h"
#include "setpoints/SetpointExchange.h"
#include "setpoints/SetpointMessages.h"
#include "device/DeviceMessages.h"

#include <QTest>

using namespace setpoints;

namespace {

QByteArray Byte(int value) { return QByteArray(1, char(value)); }

// The twelve setpoint blocks of a write, in their order, for a model.
QList<SentFrame> SetpointFrames(const ConfigModel& m)
{
    return {
        {0x09, 0x81, EncodeTimeBlock(m)},         {0x09, 0x82, EncodeVoltageBlock(m)},
        {0x09, 0x83, EncodeFrequencyBlock(m)},    {0x09, 0x88, EncodeAveragingBlock(m)},
        {0x09, 0x84, EncodeUnbalanceBlock(m)},    {0x09, 0x85, EncodeHarmonicsBlock(m)},
        {0x09, 0x86, EncodeInterharmonicsBlock(m)}, {0x0F, 0x81, EncodeAutoCorrectionBlock(m)},
        {0x0F, 0x82, EncodeSoftCorrectionBlock(m)}, {0x11, 0x81, EncodeInterfacesBlock(m)},
        {0x09, 0x87, EncodeCalculationBlock(m)},  {0x16, 0x81, EncodeRvcBlock(m)},
    };
}

const SentFrame kClockRead{0x0A, 0x01, {}};

} // namespace

class SetpointExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void readDecodesEveryBlockInOrder()
    {
        ExchangeBench b;
        ConfigModel meterSide = NewConfigModel();
        meterSide.u_nom_phase = 230.0;
        meterSide.phase_limits.dev[0][VoltageLimitSet::steady] = -0.4;
        meterSide.calc_flags = 0x0FF0;
        meterSide.soft_correction_s = -20;
        meterSide.rs485_baud = 9;
        meterSide.rvc_hysteresis_line = 33.0f;
        meterSide.harm_normal[9] = 333;
        for (const SentFrame& f : SetpointFrames(meterSide)) {
            if (f.command != 0x0F)
                b.meter.SetBlock(std::uint8_t(f.command), std::uint8_t(f.subCommand & 0x7F), f.data);
        }
        b.meter.SetBlock(0x0F, 1, Byte(3) + Byte(0xEC));
        b.meter.SetBlock(0x09, 8, QByteArray("\x14\x00", 2));
        b.meter.SetMode(kModeCalibration);
        b.meter.SetClock(QDateTime(QDate(2024, 2, 29), QTime(13, 5, 7)));

        ConfigModel m = NewConfigModel();
        modelChanged().Clear();
        int loads = 0;
        PageHooks hooks;
        hooks.loadPage = [&loads] { ++loads; };
        QVERIFY(ReadSetpoints(b.settings, b.engine, m, b.progress, b.prompt, true, hooks));

        QList<QPair<int, int>> order;
        for (const SentFrame& f : b.Sent())
            order << qMakePair(f.command, f.subCommand);
        QCOMPARE(order, (QList<QPair<int, int>>{{9, 1}, {9, 2}, {9, 3}, {9, 8}, {9, 4}, {9, 5}, {9, 6},
                                                 {0x0A, 1}, {0x0F, 1}, {0x11, 1}, {9, 7}, {0x16, 1}}));
        QCOMPARE(m.u_nom_phase, 230.0);
        QCOMPARE(m.phase_limits.dev[0][VoltageLimitSet::steady], double(-40.0f / 100.0f));
        QCOMPARE(m.device_mode, 3);
        QCOMPARE(int(m.f_avg_period), 1);
        QCOMPARE(m.calc_flags, quint16(0x0FF0));
        QCOMPARE(m.auto_correction_s, 3);
        QCOMPARE(m.soft_correction_s, -20);
        QCOMPARE(m.rs485_baud, 9);
        QCOMPARE(m.rvc_hysteresis_line, 33.0f);
        QCOMPARE(m.harm_normal[9], quint16(333));
        QCOMPARE(QList<int>({m.set_year, m.set_month, m.set_day, m.set_hour, m.set_minute}),
                 QList<int>({2024, 2, 29, 13, 5}));
        QCOMPARE(int(m.device_address), 7);
        QCOMPARE(loads, 1);
        QVERIFY(modelChanged().IsSet());
        QCOMPARE(b.progress.ranges, (QList<QPair<int, int>>{{0, 11}}));
        QCOMPARE(b.progress.stepped, 12);
        QCOMPARE(b.progress.positions, QList<int>{11});
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void refusedOptionalBlocksGiveTheirDefaults()
    {
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, 2, 0x09, 0x08);
        b.Fault(MeterFault::Kind::Status, 3, 0x16, 0x01);
        ConfigModel m = NewConfigModel();
        m.f_avg_period = 1;
        m.rvc_threshold_phase = 9.0f;
        m.rvc_hysteresis_line = 70.0f;
        QVERIFY(ReadSetpoints(b.settings, b.engine, m, b.progress, b.prompt, false));
        QCOMPARE(int(m.f_avg_period), 0);
        QCOMPARE(QList<float>({m.rvc_threshold_phase, m.rvc_hysteresis_phase, m.rvc_threshold_line,
                               m.rvc_hysteresis_line}),
                 QList<float>({2.0f, 50.0f, 2.0f, 50.0f}));
        QCOMPARE(b.progress.stepped, 10);
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void shortOrRefusedBlockStopsTheRead_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("subCommand");
        QTest::addColumn<int>("replyBytes");  // 0: refused with status 2
        QTest::addColumn<int>("frames");
        QTest::newRow("short voltage block") << 0x09 << 0x02 << 24 + 100 << 2;
        QTest::newRow("short clock") << 0x0A << 0x01 << 24 + 15 << 8;
        QTest::newRow("short calculation") << 0x09 << 0x07 << 24 + 9 << 11;
        QTest::newRow("refused harmonics") << 0x09 << 0x05 << 0 << 6;
    }
    void shortOrRefusedBlockStopsTheRead()
    {
        QFETCH(int, command);
        QFETCH(int, subCommand);
        QFETCH(int, replyBytes);
        QFETCH(int, frames);
        ExchangeBench b;
        ConfigModel meterSide = NewConfigModel();
        meterSide.load_period_hour[0] = 17;
        b.meter.SetBlock(0x09, 1, EncodeTimeBlock(meterSide));
        if (replyBytes)
            b.Fault(MeterFault::Kind::Short, replyBytes, command, subCommand);
        else
            b.Fault(MeterFault::Kind::Status, 2, command, subCommand);
        ConfigModel m = NewConfigModel();
        m.device_address = 99;
        modelChanged().Clear();
        bool loaded = false;
        PageHooks hooks;
        hooks.loadPage = [&loaded] { loaded = true; };
        QVERIFY(!ReadSetpoints(b.settings, b.engine, m, b.progress, b.prompt, true, hooks));
        QCOMPARE(b.Sent().size(), frames);
        QCOMPARE(b.prompt.texts(), replyBytes ? QStringList{msg::kReadFailure} : QStringList());
        if (replyBytes)
            QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("warning")});
        // Blocks before the failure stay decoded; nothing after it happens.
        QCOMPARE(m.load_period_hour[0], 17);
        QCOMPARE(int(m.device_address), 99);
        QVERIFY(!loaded);
        QVERIFY(!modelChanged().IsSet());
    }

    // A clock reply that passes the length test counts its mode byte only when it came.
    void clockModeByteOnlyWhenItArrived_data()
    {
        QTest::addColumn<int>("dataBytes");
        QTest::addColumn<int>("deviceMode");
        QTest::newRow("17 data bytes: mode kept") << 17 << 0;
        QTest::newRow("18 data bytes: mode kept") << 18 << 0;
        QTest::newRow("19 data bytes without the checksum: mode taken") << 19 << 3;
    }
    void clockModeByteOnlyWhenItArrived()
    {
        QFETCH(int, dataBytes);
        QFETCH(int, deviceMode);
        ExchangeBench b;
        b.meter.SetMode(kModeCalibration);
        b.Fault(MeterFault::Kind::Short, 24 + dataBytes, 0x0A, 0x01);
        ConfigModel m = NewConfigModel();
        m.device_mode = 0;
        QVERIFY(ReadSetpoints(b.settings, b.engine, m, b.progress, b.prompt, false));
        QCOMPARE(m.device_mode, deviceMode);
    }

    void writeSendsTheBlocksAroundTheMode_data()
    {
        QTest::addColumn<int>("deviceMode");
        QTest::addColumn<int>("modeBefore");  // -1: none
        QTest::addColumn<int>("modeAfter");
        QTest::addColumn<int>("modeAfterWrite");
        QTest::newRow("stop: before the blocks") << 1 << 0 << -1 << 1;
        QTest::newRow("start") << 0 << -1 << 1 << 0;
        QTest::newRow("reset, then stop") << 2 << -1 << 2 << 1;
        QTest::newRow("calibration sends stop") << 3 << -1 << 0 << 3;
        QTest::newRow("verification") << 4 << -1 << 5 << 4;
    }
    void writeSendsTheBlocksAroundTheMode()
    {
        QFETCH(int, deviceMode);
        QFETCH(int, modeBefore);
        QFETCH(int, modeAfter);
        QFETCH(int, modeAfterWrite);
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.device_mode = deviceMode;
        m.u_nom_phase = 57.735;
        m.rvc_threshold_line = 2.25f;
        const ConfigModel before = m;
        int stores = 0, loads = 0;
        PageHooks hooks;
        hooks.storePage = [&stores] { ++stores; };
        hooks.loadPage = [&loads] { ++loads; };
        const SetpointWriteResult r = WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt, hooks);
        QVERIFY(r.Succeeded());

        QList<SentFrame> expected;
        if (modeBefore >= 0)
            expected << SentFrame{0x0A, 0x83, Byte(modeBefore)};
        expected << SetpointFrames(before);
        if (modeAfter >= 0)
            expected << SentFrame{0x0A, 0x83, Byte(modeAfter)};
        QCOMPARE(b.Sent(), expected);
        QCOMPARE(m.device_mode, modeAfterWrite);
        QCOMPARE(stores, 1);
        QCOMPARE(loads, deviceMode == 2 ? 1 : 0);
        QVERIFY(b.prompt.shown().isEmpty());
        QCOMPARE(b.progress.ranges, (QList<QPair<int, int>>{{0, 12}}));
        QCOMPARE(b.progress.positions, QList<int>{12});
        QCOMPARE(b.progress.stepped, 15);
        // The meter keeps what was written.
        QCOMPARE(b.meter.Block(0x09, 2), EncodeVoltageBlock(before));
    }

    void clockIsSetWhenTheMeterIsStopped()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.write_time = 1;
        m.set_year = 2024;
        m.set_month = 3;
        m.set_day = 1;
        m.set_hour = 8;
        m.set_minute = 30;
        m.set_second = 15;
        b.prompt.AnswerNext(true);
        QStringList calls;
        PageHooks hooks;
        hooks.storePage = [&calls] { calls << QStringLiteral("pages"); };
        hooks.storeTimePage = [&calls] { calls << QStringLiteral("time"); };
        QVERIFY(WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt, hooks).Succeeded());
        QCOMPARE(b.prompt.texts(), QStringList{msg::kSetClockQuestion});
        QCOMPARE(calls, QStringList({QStringLiteral("pages"), QStringLiteral("time")}));
        const QList<SentFrame> sent = b.Sent();
        QCOMPARE(sent.mid(0, 4), (QList<SentFrame>{kClockRead, {0x0A, 0x81, EncodeClockSetBlock(2024, 3, 1, 8, 30, 15)},
                                                   kClockRead, {0x0A, 0x83, Byte(0)}}));
        QCOMPARE(sent.size(), 4 + 12);
        QCOMPARE(b.progress.pauses, QList<int>{20});
        QCOMPARE(b.meter.Clock().date(), QDate(2024, 3, 1));
    }

    void clockFromTheComputer()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.write_time = 1;
        m.use_pc_time = 1;
        b.prompt.AnswerNext(true);
        PageHooks hooks;
        hooks.now = [] { return QDateTime(QDate(2000, 1, 2), QTime(3, 4, 5)); };
        QVERIFY(WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt, hooks).Succeeded());
        QCOMPARE(b.Sent().at(1), (SentFrame{0x0A, 0x81, EncodeClockSetBlock(2000, 1, 2, 3, 4, 5)}));
    }

    void clockQuestions_data()
    {
        QTest::addColumn<bool>("firstAnswer");
        QTest::addColumn<bool>("secondAnswer");
        QTest::addColumn<int>("frames");
        QTest::newRow("no to deleting the data: nothing is sent") << false << false << 0;
        QTest::newRow("running, no: only the clock read") << true << false << 1;
        QTest::newRow("running, yes: setpoints without the clock") << true << true << 1 + 1 + 12;
    }
    // The page asks its box before the sub-pages are stored into the model.
    void clockQuestions()
    {
        QFETCH(bool, firstAnswer);
        QFETCH(bool, secondAnswer);
        QFETCH(int, frames);
        ExchangeBench b;
        b.meter.SetMode(kModeRunning);
        ConfigModel m = NewConfigModel();
        b.prompt.AnswerNext(firstAnswer);
        b.prompt.AnswerNext(secondAnswer);
        bool stored = false;
        PageHooks hooks;
        hooks.writeTimeTicked = [] { return true; };
        hooks.storePage = [&stored, &m] {
            stored = true;
            m.write_time = 1;
        };
        const SetpointWriteResult r = WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt, hooks);
        QCOMPARE(r.finished, firstAnswer && secondAnswer);
        QCOMPARE(b.Sent().size(), frames);
        QCOMPARE(stored, firstAnswer);
        QStringList asked{msg::kSetClockQuestion};
        if (firstAnswer)
            asked << msg::kClockNeedsStopQuestion;
        QCOMPARE(b.prompt.texts(), asked);
        for (const SentFrame& f : b.Sent())
            QVERIFY(f.subCommand != 0x81 || f.command != 0x0A);
    }

    void meterThatDoesNotStopAfterTheClockEndsTheWrite()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.write_time = 1;
        b.prompt.AnswerNext(true);
        PageHooks hooks;
        hooks.storeTimePage = [&b] { b.meter.SetMode(kModeRunning); };  // it starts meanwhile
        QVERIFY(!WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt, hooks).finished);
        QCOMPARE(b.Sent().size(), 1 + 1 + 250);
        QCOMPARE(b.progress.pauses, QList<int>(250, 20));
        QCOMPARE(b.prompt.texts().last(), msg::kSetpointsNeedStop);
        QCOMPARE(b.prompt.kinds().last(), QStringLiteral("warning"));
    }

    void shortClockReadBeforeTheClock_data()
    {
        QTest::addColumn<int>("dataBytes");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<int>("frames");
        QTest::newRow("no mode byte: the write ends") << 18 << false << 1;
        // The reported length is 20, above the 19 asked for, and the mode byte is there.
        QTest::newRow("19 data bytes without the checksum: the clock is set")
            << 19 << true << 1 + 1 + 1 + 1 + 12;
    }
    void shortClockReadBeforeTheClock()
    {
        QFETCH(int, dataBytes);
        QFETCH(bool, finished);
        QFETCH(int, frames);
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Short, 24 + dataBytes, 0x0A, 0x01);
        ConfigModel m = NewConfigModel();
        m.write_time = 1;
        b.prompt.AnswerNext(true);
        QCOMPARE(WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt).finished, finished);
        QCOMPARE(b.Sent().size(), frames);
        QStringList texts{msg::kSetClockQuestion};
        if (!finished)
            texts << msg::kClockReadFailure;
        QCOMPARE(b.prompt.texts(), texts);
    }

    void writeReports_data()
    {
        QTest::addColumn<QList<int>>("refusedWithTwo");  // sub-commands of 0x09 / 0x16 answered 2
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("reports");
        QTest::newRow("18 on every block: one report")
            << QList<int>() << true << QStringList{msg::kNotStoppedNotAllWritten};
        QTest::newRow("2 on the averaging block")
            << QList<int>{0x0988} << false << QStringList{msg::kNotAllWritten};
        QTest::newRow("2 on the RVC block") << QList<int>{0x1681} << false << QStringList{msg::kNotAllWritten};
        // A refused block is never reported as written, whichever it is.
        QTest::newRow("2 on the time and interface blocks")
            << QList<int>{0x0981, 0x1181} << false << QStringList{msg::kNotAllWritten};
        QTest::newRow("both, in order") << QList<int>{0x1681} << true
                                        << QStringList{msg::kNotStoppedNotAllWritten, msg::kNotAllWritten};
    }
    void writeReports()
    {
        QFETCH(QList<int>, refusedWithTwo);
        QFETCH(bool, running);
        QFETCH(QStringList, reports);
        ExchangeBench b;
        b.meter.SetRequireStop(true);
        if (running)
            b.meter.SetMode(kModeRunning);
        for (int block : refusedWithTwo)
            b.Fault(MeterFault::Kind::Status, 2, block >> 8, block & 0xFF);
        ConfigModel m = NewConfigModel();
        m.device_mode = 0;  // start: no stop before the blocks
        const SetpointWriteResult r = WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt);
        QVERIFY(r.finished);
        QCOMPARE(r.Succeeded(), reports.isEmpty());
        QCOMPARE(b.Sent().size(), 13);
        QCOMPARE(b.prompt.texts(), reports);
        QCOMPARE(b.prompt.kinds(), QStringList(reports.size(), QStringLiteral("error")));
    }

    void failedWriteEndsAtOnce()
    {
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, 7, 0x09, 0x83);
        ConfigModel m = NewConfigModel();
        QVERIFY(!WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt).finished);
        QCOMPARE(b.Sent().size(), 4);  // mode, 0x81, 0x82, 0x83
        QCOMPARE(b.prompt.texts(), QStringList{msg::kBusy});
    }

    void networkAddress_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("answer");  // -1: no question
        QTest::addColumn<bool>("sent");
        QTest::newRow("same address: no question") << 7 << -1 << true;
        QTest::newRow("new address, yes") << 300 << 1 << true;
        QTest::newRow("new address, no") << 300 << 0 << false;
    }
    void networkAddress()
    {
        QFETCH(int, address);
        QFETCH(int, answer);
        QFETCH(bool, sent);
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.address_write_flag = 1;
        m.device_address = quint16(address);
        if (answer >= 0)
            b.prompt.AnswerNext(answer == 1);
        QVERIFY(WriteSetpoints(b.settings, b.engine, m, b.progress, b.prompt).Succeeded());
        QCOMPARE(b.prompt.texts(), answer >= 0 ? QStringList{msg::kChangeAddressQuestion} : QStringList());
        const SentFrame last = b.Sent().last();
        QCOMPARE(last == (SentFrame{0x0C, 0x81, EncodeAddressBlock(quint16(address))}), sent);
        QCOMPARE(int(b.meter.NetworkAddress()), sent ? address : 0);
    }
};

QTEST_GUILESS_MAIN(SetpointExchangeTest)
#include "tst_setpointexchange.moc"
