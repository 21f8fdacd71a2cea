// The voltage and coefficient pages' arithmetic: nominal voltages for both input types, the
// texts of a chosen ratio, the typed-ratio rule, the limit slots and the -100..100 store rule,
// the coefficient text rule and the voltage-class tables.
#include "model/ConfigModel.h"
#include "setpoints/CoefficientRules.h"
#include "setpoints/TransformerRatios.h"
#include "setpoints/VoltageRules.h"

#include <QTest>

#include <cmath>

using namespace setpoints;

class VoltageRulesTest : public QObject {
    Q_OBJECT
private slots:
    void ratioListInOrder()
    {
        const QStringList expected = {"1",   "60",  "63",  "66",  "100", "105",  "110",  "138",  "150",  "157.5", "180",
                                      "200", "240", "270", "350", "1100", "1500", "2200", "3300", "5000", "7500"};
        QCOMPARE(TransformerRatioEntries(), expected);
    }

    void direct_data()
    {
        QTest::addColumn<double>("phase");
        QTest::addColumn<QString>("phaseText");
        QTest::addColumn<QString>("lineText");
        QTest::newRow("220") << 220.0 << "220.000" << "381.051";
        QTest::newRow("250 clamps") << 250.0 << "242.000" << "419.156";
        QTest::newRow("242 edge") << 242.0 << "242.000" << "419.156";
        QTest::newRow("not a number reads 0, clamps up") << 0.0 << "100.000" << "173.205";
        QTest::newRow("57.7 clamps up") << 57.7 << "100.000" << "173.205";
        QTest::newRow("230.5") << 230.5 << "230.500" << "399.238";
    }
    void direct()
    {
        QFETCH(double, phase);
        QFETCH(QString, phaseText);
        QFETCH(QString, lineText);
        QCOMPARE(RecomputeDirect(phase), (NominalVoltageTexts{phaseText, lineText}));
    }

    void transformer_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("line");
        QTest::addColumn<QString>("phaseText");
        QTest::addColumn<QString>("lineText");
        QTest::newRow("100, 10 kV") << 100.0 << 10000.0 << "5773.500" << "10000.000";
        QTest::newRow("100, above +10 %") << 100.0 << 12000.0 << "6350.800" << "11000.000";
        QTest::newRow("100, below -10 %") << 100.0 << 100.0 << "5196.100" << "9000.000";
        QTest::newRow("157.5") << 157.5 << 15750.0 << "9093.263" << "15750.000";
        QTest::newRow("1, secondary only") << 1.0 << 100.0 << "57.735" << "100.000";
    }
    void transformer()
    {
        QFETCH(double, ratio);
        QFETCH(double, line);
        QFETCH(QString, phaseText);
        QFETCH(QString, lineText);
        const auto texts = RecomputeTransformer(ratio, line);
        QVERIFY(texts);
        QCOMPARE(*texts, (NominalVoltageTexts{phaseText, lineText}));
    }

    void transformerWithoutARatioComputesNothing()
    {
        for (double ratio : {0.0, -5.0, std::nan("")})
            QVERIFY(!RecomputeTransformer(ratio, 10000.0));
    }

    void ratioChosenTexts_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("phaseText");
        QTest::addColumn<QString>("lineText");
        QTest::newRow("100") << 100.0 << "  5773.500" << " 10000.000";
        QTest::newRow("1") << 1.0 << "    57.735" << "   100.000";
        QTest::newRow("7500 fills ten characters") << 7500.0 << "433012.500" << "750000.000";
    }
    void ratioChosenTexts()
    {
        QFETCH(double, ratio);
        QFETCH(QString, phaseText);
        QFETCH(QString, lineText);
        QCOMPARE(RatioChosenTexts(ratio), (NominalVoltageTexts{phaseText, lineText}));
    }

    void typedRatio_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty or cancelled") << "" << 1.0 << "1";
        QTest::newRow("zero") << "0" << 1.0 << "1";
        QTest::newRow("letters") << "abc" << 1.0 << "1";
        QTest::newRow("negative") << "-100" << 1.0 << "1";
        QTest::newRow("number") << "120" << 120.0 << "120";
        QTest::newRow("decimal keeps its text") << "12.50" << 12.5 << "12.50";
    }
    void typedRatio()
    {
        QFETCH(QString, typed);
        QFETCH(double, ratio);
        QFETCH(QString, text);
        const RatioEntry entry = RatioEntryFromTyped(typed);
        QCOMPARE(entry.ratio, ratio);
        QCOMPARE(entry.text, text);
    }

    void limitSlotsDifferOnlyInFiveAndSix()
    {
        for (int i = 0; i < VoltageLimitSet::kSlots; ++i) {
            const auto limit = Limit(i);
            QCOMPARE(LimitSlot(limit, VoltageKind::Line), i);
        }
        QCOMPARE(LimitSlot(Limit::i_normal_up, VoltageKind::Phase), 6);
        QCOMPARE(LimitSlot(Limit::ii_normal_down, VoltageKind::Phase), 5);
        QCOMPARE(LimitSlot(Limit::ii_max_down, VoltageKind::Phase), 2);
        // The defaults say the same: the phase set's normal upper limit of set I is +5 in slot 6.
        ConfigModel m = NewConfigModel();
        QCOMPARE(LimitValue(m.phase_limits, Limit::i_normal_up, VoltageKind::Phase, VoltageLimitSet::steady), 5.0);
        QCOMPARE(LimitValue(m.line_limits, Limit::i_normal_up, VoltageKind::Line, VoltageLimitSet::steady), 5.0);
        QCOMPARE(LimitValue(m.phase_limits, Limit::ii_normal_down, VoltageKind::Phase, VoltageLimitSet::signal), -5.0);
    }

    void steadyLimitStore_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::newRow("in range") << "+7.25" << 7.25;
        QTest::newRow("100 inclusive") << "100" << 100.0;
        QTest::newRow("-100 inclusive") << "-100.00" << -100.0;
        QTest::newRow("150 kept out") << "150" << 42.0;
        QTest::newRow("-100.01 kept out") << "-100.01" << 42.0;
        QTest::newRow("letters read 0, stored") << "abc" << 0.0;
        QTest::newRow("trailing text ignored") << "12.5%" << 12.5;
    }
    void steadyLimitStore()
    {
        QFETCH(QString, text);
        QFETCH(double, stored);
        QCOMPARE(StoredSteadyLimit(text, 42.0), stored);
    }

    void coefficientText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("5") << "5" << 500;
        QTest::newRow("comma") << "1,5" << 150;
        QTest::newRow("0,15") << "0,15" << 15;
        QTest::newRow("cut, not rounded") << "1.239" << 123;
        QTest::newRow("point at end") << "7." << 700;
        QTest::newRow("two decimals") << "12.34" << 1234;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("abc") << "abc" << 0;
        QTest::newRow("-1 wraps") << "-1" << 65436;
        QTest::newRow("leading space") << " 2.5" << 250;
        QTest::newRow("655.36 wraps to 0") << "655.36" << 0;
        QTest::newRow("second point dropped") << "1.2.3" << 12;
    }
    void coefficientText()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(CoefficientFromText(text)), value);
    }

    void coefficientShownAndReadBack()
    {
        // Every value the meter can hold comes back from its own text.
        for (int value = 0; value <= 0xFFFF; ++value) {
            if (CoefficientFromText(CoefficientText(std::uint16_t(value))) != value)
                QFAIL(qPrintable(QStringLiteral("%1 shows %2").arg(value).arg(CoefficientText(std::uint16_t(value)))));
        }
        QCOMPARE(CoefficientText(15), QStringLiteral("0.15"));
        QCOMPARE(CoefficientText(65535), QStringLiteral("655.35"));
    }

    void voltageClass_data()
    {
        QTest::addColumn<QString>("lineText");
        QTest::addColumn<int>("voltageClass");
        QTest::newRow("5999") << "5999.999" << 1;
        QTest::newRow("6000") << "6000.000" << 2;
        QTest::newRow("34999") << "34999.000" << 2;
        QTest::newRow("35000") << "35000.000" << 3;
        QTest::newRow("110000") << "110000.000" << 4;
        QTest::newRow("padded 10 kV") << " 10000.000" << 2;
        QTest::newRow("381") << "381.051" << 1;
        QTest::newRow("negative wraps high") << "-5" << 4;
        QTest::newRow("no number") << "" << 1;
    }
    void voltageClass()
    {
        QFETCH(QString, lineText);
        QFETCH(int, voltageClass);
        QCOMPARE(VoltageClassFor(LineVoltsForClass(lineText)), voltageClass);
    }

    void classTables_data()
    {
        QTest::addColumn<int>("voltageClass");
        QTest::addColumn<int>("order");
        QTest::addColumn<double>("normal");
        QTest::newRow("1, n=2") << 1 << 2 << 2.0;
        QTest::newRow("2, n=2") << 2 << 2 << 1.5;
        QTest::newRow("2, n=5") << 2 << 5 << 4.0;
        QTest::newRow("3, n=7") << 3 << 7 << 2.5;
        QTest::newRow("4, n=13") << 4 << 13 << 0.7;
        QTest::newRow("4, n=37") << 4 << 37 << 0.4;
        QTest::newRow("unlisted n=12") << 3 << 12 << 0.2;
        QTest::newRow("unlisted n=40") << 1 << 40 << 0.2;
        QTest::newRow("n=41 none") << 1 << 41 << 0.0;
        QTest::newRow("n=50 none") << 4 << 50 << 0.0;
    }
    void classTables()
    {
        QFETCH(int, voltageClass);
        QFETCH(int, order);
        QFETCH(double, normal);
        QCOMPARE(VoltageClassTable(voltageClass).harmonicNormal[std::size_t(order - kFirstHarmonic)], normal);
    }

    void classTotalsAndMaximumRow()
    {
        const QStringList normal = {"8.00", "5.00", "4.00", "2.00"};
        const QStringList maximum = {"12.00", "8.00", "6.00", "3.00"};
        for (int c = 1; c <= 4; ++c) {
            QCOMPARE(VoltageClassTable(c).kuNormalText, normal[c - 1]);
            QCOMPARE(VoltageClassTable(c).kuMaxText, maximum[c - 1]);
        }
        QCOMPARE(MaximumFromNormal(1.5), 2.25);
        // A new configuration carries the first class's table.
        const ConfigModel m = NewConfigModel();
        for (int i = 0; i < kHarmonicCount; ++i) {
            QCOMPARE(int(m.harm_normal[std::size_t(i)]), int(std::lround(VoltageClassTable(1).harmonicNormal[std::size_t(i)] * 100)));
            QCOMPARE(int(m.harm_max[std::size_t(i)]),
                     int(std::lround(MaximumFromNormal(VoltageClassTable(1).harmonicNormal[std::size_t(i)]) * 100)));
        }
    }
};

QTEST_GUILESS_MAIN(VoltageRulesTest)
#include "tst_voltagerules.moc"
