// The setpoint block codecs: the meter's units and roundings, byte positions, and that every
// block reads back into the values it was written from.
#include "model/ConfigModel.h"
#include "setpoints/SetpointBlocks.h"

#include <QTest>

#include <cmath>

using namespace setpoints;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

std::uint16_t U16At(const QByteArray& b, int offset)
{
    return std::uint16_t(std::uint8_t(b[offset]) | (std::uint8_t(b[offset + 1]) << 8));
}

} // namespace

class SetpointBlocksTest : public QObject {
    Q_OBJECT
private slots:
    void readConversions()
    {
        // Quotients are taken in single precision and widened, as the meter's tools do.
        QCOMPARE(VoltageFromMillivolts(220000), 220.0);
        QCOMPARE(VoltageFromMillivolts(381051), double(381051.0f / 1000.0f));
        QVERIFY(VoltageFromMillivolts(381051) != 381.051);
        QCOMPARE(PercentFromHundredths(-40), double(-40.0f / 100.0f));
        QVERIFY(PercentFromHundredths(-40) != -0.40);
        QCOMPARE(PercentFromHundredths(138), double(1.38f));
        QCOMPARE(RvcThresholdFromByte(25), 2.5f);
        QCOMPARE(RvcHysteresisFromByte(50), 50.0f);
    }

    void percentToWire_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<int>("wire");
        QTest::newRow("plain") << 1.38 << 138;
        QTest::newRow("negative") << -10.0 << 0xFC18;
        QTest::newRow("half up") << 1.125 << 113;
        QTest::newRow("half away from zero") << -1.125 << 0xFF8F;  // -113
        QTest::newRow("float-widened value") << double(-0.4f) << 0xFFD8;  // -40
        QTest::newRow("low 16 bits") << 700.0 << (70000 & 0xFFFF);
        QTest::newRow("not a number") << std::nan("") << 0;
        QTest::newRow("huge") << 1e300 << 0xFFFF;
    }
    void percentToWire()
    {
        QFETCH(double, percent);
        QFETCH(int, wire);
        QCOMPARE(int(PercentToHundredths(percent)), wire);
    }

    void voltageAndRvcToWire()
    {
        QCOMPARE(VoltageToMillivolts(220.0), 220000u);
        QCOMPARE(VoltageToMillivolts(381.0511708), 381051u);  // truncated, not rounded
        QCOMPARE(VoltageToMillivolts(0.0009), 0u);
        QCOMPARE(VoltageToMillivolts(220.9999), 220999u);
        // What a read of 381051 mV gives is written back as 381051 mV, not one less.
        QCOMPARE(VoltageToMillivolts(VoltageFromMillivolts(381051)), 381051u);
        QCOMPARE(VoltageToMillivolts(VoltageFromMillivolts(4294967)), 4294967u);
        QCOMPARE(VoltageToMillivolts(std::nan("")), 0u);
        QCOMPARE(int(RvcThresholdToByte(2.25f)), 23);  // 22.5 rounds away from zero
        QCOMPARE(int(RvcThresholdToByte(2.0f)), 20);
        QCOMPARE(int(RvcThresholdToByte(30.0f)), 44);  // 300: low 8 bits
        QCOMPARE(int(RvcHysteresisToByte(50.9f)), 50);
        QCOMPARE(int(RvcHysteresisToByte(300.0f)), 44);
    }

    void voltageBlockPlacesBothLimitSets()
    {
        ConfigModel m = NewConfigModel();
        // Slots 5 and 6 hold different limits in the two sets; the block orders them alike.
        m.phase_limits.dev[5][VoltageLimitSet::steady] = -3.21;  // phase ii_normal_down
        m.phase_limits.dev[6][VoltageLimitSet::signal] = 4.56;   // phase i_normal_up
        m.line_limits.dev[5][VoltageLimitSet::plusminus] = 7.89; // line i_normal_up
        m.line_limits.dev[6][VoltageLimitSet::steady] = -6.54;   // line ii_normal_down
        m.line_limits.interruption_level = -90.0;
        m.u_nom_phase = 57.735;
        m.plt_max = 1.25;
        m.wiring_scheme = 0;
        m.ratio_index = 4;
        const QByteArray b = EncodeVoltageBlock(m);
        QCOMPARE(b.size(), kVoltageBlockSize);
        QCOMPARE(U16At(b, 0) | (U16At(b, 2) << 16), 57735);
        QCOMPARE(U16At(b, 4 + 2 * 3), std::uint16_t(-321));
        QCOMPARE(U16At(b, 26 + 2 * 5), std::uint16_t(456));
        QCOMPARE(U16At(b, 58 + 42 + 2 * 5), std::uint16_t(789));
        QCOMPARE(U16At(b, 58 + 4 + 2 * 3), std::uint16_t(-654));
        QCOMPARE(U16At(b, 82), std::uint16_t(-9000));
        QCOMPARE(U16At(b, 122), std::uint16_t(125));
        QCOMPARE(int(b[124]), 0);
        QCOMPARE(int(b[126]), 4);
        QCOMPARE(int(b[127]), 1);

        ConfigModel back = NewConfigModel();
        QByteArray odd = b;
        odd[124] = char(7);  // any non-zero scheme byte is four-wire
        DecodeVoltageBlock(odd, back);
        QCOMPARE(back.phase_limits.dev[5][VoltageLimitSet::steady], double(-3.21f));
        QCOMPARE(back.line_limits.dev[6][VoltageLimitSet::steady], double(-6.54f));
        QCOMPARE(back.u_nom_phase, double(57735.0f / 1000.0f));
        QCOMPARE(back.wiring_scheme, 1);
    }

    void timeBlockInvertsTheChangeFlags()
    {
        ConfigModel m = NewConfigModel();
        m.summer_auto = 0;
        m.winter_auto = 1;
        m.load_period_hour[7] = 23;
        m.load_period_minute[7] = 0x159;  // low 8 bits
        m.time_zone = 3;
        const QByteArray b = EncodeTimeBlock(m);
        QCOMPARE(int(b[23]), 1);
        QCOMPARE(int(b[24]), 0);
        QCOMPARE(int(b[15]), 23);
        QCOMPARE(int(std::uint8_t(b[14])), 0x59);
        QCOMPARE(int(b[22]), 3);
        QByteArray manual = b;
        manual[24] = char(5);
        ConfigModel back;
        DecodeTimeBlock(manual, back);
        QCOMPARE(int(back.summer_auto), 0);
        QCOMPARE(int(back.winter_auto), 0);
    }

    void clockModeByte_data()
    {
        QTest::addColumn<int>("modeByte");
        QTest::addColumn<int>("deviceMode");
        QTest::newRow("stop") << 0 << 1;
        QTest::newRow("running") << 1 << 0;
        QTest::newRow("reset") << 2 << 2;
        QTest::newRow("calibration") << 4 << 3;
        QTest::newRow("verification") << 5 << 4;
        QTest::newRow("3 keeps the mode") << 3 << 42;
        QTest::newRow("200 keeps the mode") << 200 << 42;
    }
    void clockModeByte()
    {
        QFETCH(int, modeByte);
        QFETCH(int, deviceMode);
        QByteArray b(kClockBlockSize, '\0');
        b[0] = char(31);
        b[1] = char(12);
        b[2] = char(24);
        b[3] = char(23);
        b[4] = char(59);
        b[5] = char(58);
        b[kClockModeOffset] = char(modeByte);
        ConfigModel m;
        m.device_mode = 42;
        DecodeClockBlock(b, m);
        QCOMPARE(m.device_mode, deviceMode);
        QCOMPARE(QList<int>({m.set_year, m.set_month, m.set_day, m.set_hour, m.set_minute, m.set_second}),
                 QList<int>({2024, 12, 31, 23, 59, 58}));
    }

    void modeCodes()
    {
        // Calibration is written back as stop; so is anything beyond the list.
        const QList<int> codes = {ModeCodeFor(0), ModeCodeFor(1), ModeCodeFor(2), ModeCodeFor(3), ModeCodeFor(4),
                                  ModeCodeFor(9)};
        QCOMPARE(codes, QList<int>({1, 0, 2, 0, 5, 0}));
    }

    void clockSetBlock_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("yearByte");
        QTest::newRow("2000") << 2000 << 0;
        QTest::newRow("2024") << 2024 << 24;
        QTest::newRow("2255") << 2255 << 255;
        QTest::newRow("1999 stays the earliest") << 1999 << 0;
        QTest::newRow("2300 stays the latest") << 2300 << 255;
    }
    void clockSetBlock()
    {
        QFETCH(int, year);
        QFETCH(int, yearByte);
        const QByteArray b = EncodeClockSetBlock(year, 2, 29, 13, 5, 7);
        QCOMPARE(b, Bytes({29, 2, yearByte, 13, 5, 7}));
    }

    void averagingPeriod_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("period");
        QTest::newRow("10 s") << 10 << 0;
        QTest::newRow("20 s") << 20 << 1;
        QTest::newRow("15 s keeps it") << 15 << 7;
    }
    void averagingPeriod()
    {
        QFETCH(int, seconds);
        QFETCH(int, period);
        ConfigModel m;
        m.f_avg_period = 7;
        DecodeAveragingBlock(Bytes({seconds, 0}), m);
        QCOMPARE(int(m.f_avg_period), period);
        m.f_avg_period = 1;
        QCOMPARE(EncodeAveragingBlock(m), Bytes({20, 0}));
    }

    void correctionsAreSigned()
    {
        ConfigModel m;
        DecodeCorrectionBlock(Bytes({0xF8, 0x14}), m);
        QCOMPARE(m.auto_correction_s, -8);
        QCOMPARE(m.soft_correction_s, 20);
        QCOMPARE(EncodeAutoCorrectionBlock(m), QByteArray(1, char(0xF8)));
        QCOMPARE(EncodeSoftCorrectionBlock(m), QByteArray(1, char(0x14)));
    }

    // Whatever a configuration holds, the bytes it writes read back into a model that
    // writes the same bytes again.
    void everyBlockReadsBackWhatItWrote()
    {
        ConfigModel m = NewConfigModel();
        m.time_zone = 5;
        m.dst_mode = 2;
        m.calc_flags = 0xA55A;
        m.calc_choice[8] = 1;
        m.rs232_mode_ext = 1;
        m.modem_rings = 200;
        m.f_nom = 60000;
        m.df_max_down = -55;
        m.harm_max[48] = 0xBEEF;
        m.iharm_normal[0] = 7;
        m.k0u_normal = 123;
        m.rvc_threshold_line = 12.5f;
        m.rvc_hysteresis_line = 33.0f;
        using Encode = QByteArray (*)(const ConfigModel&);
        using Decode = void (*)(QByteArrayView, ConfigModel&);
        const QList<QPair<Encode, Decode>> codecs = {
            {EncodeTimeBlock, DecodeTimeBlock},           {EncodeVoltageBlock, DecodeVoltageBlock},
            {EncodeFrequencyBlock, DecodeFrequencyBlock}, {EncodeUnbalanceBlock, DecodeUnbalanceBlock},
            {EncodeHarmonicsBlock, DecodeHarmonicsBlock}, {EncodeInterharmonicsBlock, DecodeInterharmonicsBlock},
            {EncodeCalculationBlock, DecodeCalculationBlock}, {EncodeAveragingBlock, DecodeAveragingBlock},
            {EncodeInterfacesBlock, DecodeInterfacesBlock}, {EncodeRvcBlock, DecodeRvcBlock},
        };
        const QList<int> sizes = {28, 128, 10, 8, 200, 196, 11, 2, 7, 4};
        for (int i = 0; i < codecs.size(); ++i) {
            const QByteArray written = codecs[i].first(m);
            QCOMPARE(written.size(), sizes[i]);
            ConfigModel back;
            codecs[i].second(written, back);
            QCOMPARE(codecs[i].first(back), written);
        }
        ConfigModel back;
        DecodeFrequencyBlock(EncodeFrequencyBlock(m), back);
        QCOMPARE(back.df_max_down, qint16(-55));
        DecodeHarmonicsBlock(EncodeHarmonicsBlock(m), back);
        QCOMPARE(back.harm_max[48], quint16(0xBEEF));
        QCOMPARE(back.harm_normal, m.harm_normal);
        DecodeRvcBlock(EncodeRvcBlock(m), back);
        QCOMPARE(back.rvc_threshold_line, 12.5f);
    }
};

QTEST_GUILESS_MAIN(SetpointBlocksTest)
#include "tst_setpointblocks.moc"
