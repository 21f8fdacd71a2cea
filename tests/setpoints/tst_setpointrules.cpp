// The rules of the setpoint sub-pages: number texts, the all-or-nothing rapid-voltage-change
// store, the calculation bits, load-period snapping and the list mappings.
#include "model/ConfigModel.h"
#include "setpoints/SetpointRules.h"

#include <QTest>

using namespace setpoints;

class SetpointRulesTest : public QObject {
    Q_OBJECT
private slots:
    void leadingDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "50.00" << 50.0;
        QTest::newRow("plus sign") << "+0.20" << 0.2;
        QTest::newRow("blanks and unit") << "  -1.5 Гц" << -1.5;
        QTest::newRow("no leading digit") << "-.5" << -0.5;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("decimal comma stops") << "5,5" << 5.0;
        QTest::newRow("not a number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("infinity is no value") << "inf" << 0.0;
        QTest::newRow("nor is nan") << "-nan" << 0.0;
        QTest::newRow("beyond a double") << "1e400" << 0.0;
    }
    void leadingDecimal()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingDecimal(text), value);
    }

    void frequencyTexts()
    {
        QCOMPARE(NominalFrequencyText(50000), QStringLiteral("50.00"));
        QCOMPARE(NominalFrequencyText(60000), QStringLiteral("60.00"));
        QCOMPARE(FrequencyDeviationText(-40), QStringLiteral("-0.40"));
        QCOMPARE(FrequencyDeviationText(20), QStringLiteral("+0.20"));
        QCOMPARE(FrequencyDeviationText(0), QStringLiteral("+0.00"));
    }

    void frequencyFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("nominal");
        QTest::addColumn<int>("stored");
        QTest::newRow("nominal as shown") << "50.00" << true << 50000;
        QTest::newRow("nominal typed 60") << "60" << true << 60000;
        QTest::newRow("nominal 70 keeps the low 16 bits") << "70" << true << 4464;
        QTest::newRow("nominal not a number") << "Гц" << true << 0;
        QTest::newRow("deviation half away from zero") << "0.125" << false << 13;
        QTest::newRow("negative half away from zero") << "-0.125" << false << -13;
        QTest::newRow("deviation as shown") << "+0.20" << false << 20;
        QTest::newRow("deviation beyond 16 bits wraps") << "400" << false << -25536;
        QTest::newRow("deviation empty") << "" << false << 0;
    }
    void frequencyFromText()
    {
        QFETCH(QString, text);
        QFETCH(bool, nominal);
        QFETCH(int, stored);
        if (nominal)
            QCOMPARE(int(NominalFrequencyFromText(text)), stored);
        else
            QCOMPARE(int(FrequencyDeviationFromText(text)), stored);
    }

    void rvcAllOrNothing_data()
    {
        QTest::addColumn<QStringList>("texts");  // phase threshold, phase hysteresis, line threshold, line hysteresis
        QTest::addColumn<QString>("failed");     // one letter per edit: y passed, n failed
        QTest::newRow("threshold 0.5") << QStringList{"0.5", "50", "2.0", "50"} << "nyyy";
        QTest::newRow("upper bounds included") << QStringList{"60", "80", "60.0", "80"} << "yyyy";
        QTest::newRow("lower bounds included") << QStringList{"1", "20", "1.0", "20"} << "yyyy";
        QTest::newRow("two failures") << QStringList{"2.0", "19", "60.1", "50"} << "ynny";
        QTest::newRow("not a number fails") << QStringList{"2.0", "50", "2.0", "abc"} << "yyyn";
    }
    void rvcAllOrNothing()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, failed);
        ConfigModel model = NewConfigModel();
        const ConfigModel before = model;
        const auto passed = StoreRvcTexts({texts[0], texts[1], texts[2], texts[3]}, model);
        QString got;
        for (bool p : passed)
            got += p ? u'y' : u'n';
        QCOMPARE(got, failed);
        if (failed == QLatin1String("yyyy")) {
            QCOMPARE(model.rvc_threshold_phase, float(texts[0].toDouble()));
            QCOMPARE(model.rvc_hysteresis_phase, float(texts[1].toDouble()));
            QCOMPARE(model.rvc_threshold_line, float(texts[2].toDouble()));
            QCOMPARE(model.rvc_hysteresis_line, float(texts[3].toDouble()));
        } else {
            QCOMPARE(model.rvc_threshold_phase, before.rvc_threshold_phase);
            QCOMPARE(model.rvc_hysteresis_phase, before.rvc_hysteresis_phase);
            QCOMPARE(model.rvc_threshold_line, before.rvc_threshold_line);
            QCOMPARE(model.rvc_hysteresis_line, before.rvc_hysteresis_line);
        }
    }

    void rvcTexts()
    {
        QCOMPARE(RvcText(RvcThresholdPhase, 2.5f), QStringLiteral("2.5"));
        QCOMPARE(RvcText(RvcHysteresisLine, 50.0f), QStringLiteral("50"));
    }

    void calculationBits()
    {
        std::array<int, kMarkedValueRows> choices{};
        for (int row = 0; row < kMarkedValueRows; ++row)
            choices[row] = MarkedValueChoice(0x0801, row);
        QCOMPARE(choices[0], 1);
        QCOMPARE(choices[11], 1);
        QCOMPARE(choices[3], 0);
        choices[3] = 1;  // K~U~
        QCOMPARE(PackMarkedValueChoices(0x0801, choices), std::uint16_t(0x0809));
        // The meter's upper four bits survive whatever the rows say.
        QCOMPARE(PackMarkedValueChoices(0x8FFF, {}), std::uint16_t(0x8000));
        QCOMPARE(PackMarkedValueChoices(0xF000, choices), std::uint16_t(0xF809));

        QCOMPARE(StatisticsChoiceIndex(1), 0);
        QCOMPARE(StatisticsChoiceIndex(2), 1);
        QCOMPARE(StatisticsChoiceIndex(0), -1);
        QCOMPARE(StatisticsChoiceIndex(3), -1);
        QCOMPARE(StatisticsChoiceValue(0), std::uint8_t(1));
        QCOMPARE(StatisticsChoiceValue(1), std::uint8_t(2));
        QCOMPARE(StatisticsChoiceValue(-1), std::uint8_t(0));
    }

    void loadPeriodSnapping_data()
    {
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("snapped");
        QTest::newRow("00 stays") << 0 << 0;
        QTest::newRow("spin up from 00") << 1 << 30;
        QTest::newRow("08:15") << 15 << 30;
        QTest::newRow("28") << 28 << 30;
        QTest::newRow("spin down from 30") << 29 << 0;
        QTest::newRow("30 stays") << 30 << 30;
        QTest::newRow("spin up from 30") << 31 << 0;
        QTest::newRow("08:45") << 45 << 0;
        QTest::newRow("58") << 58 << 0;
        QTest::newRow("08:59, spin down from 00") << 59 << 30;
    }
    void loadPeriodSnapping()
    {
        QFETCH(int, minute);
        QFETCH(int, snapped);
        QCOMPARE(SnapLoadPeriodMinute(minute), snapped);
    }

    void weekStartDay_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("Sunday is the last entry") << 0 << 6;
        QTest::newRow("Monday first") << 1 << 0;
        QTest::newRow("Saturday") << 6 << 5;
    }
    void weekStartDay()
    {
        QFETCH(int, stored);
        QFETCH(int, index);
        QCOMPARE(WeekStartIndex(stored), index);
        QCOMPARE(WeekStartDay(index), stored);
    }

    void weekStartDayOutOfRange()
    {
        QCOMPARE(WeekStartIndex(7), -1);
        QCOMPARE(WeekStartIndex(-1), -1);
        QCOMPARE(WeekStartDay(-1), -1);
    }

    void timeZoneFromBias_data()
    {
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("index");
        QTest::newRow("UTC") << 0 << 0;
        QTest::newRow("UTC+3") << -180 << 3;
        QTest::newRow("UTC+5") << -300 << 5;
        QTest::newRow("UTC+5:30 truncates") << -330 << 5;
        QTest::newRow("UTC+12") << -720 << 12;
        QTest::newRow("UTC+13 has no entry") << -780 << -1;
        QTest::newRow("UTC-3 has no entry") << 180 << -1;
    }
    void timeZoneFromBias()
    {
        QFETCH(int, bias);
        QFETCH(int, index);
        QCOMPARE(TimeZoneIndexFromBias(bias), index);
    }

    void changeDate_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("shown");
        QTest::newRow("in the year") << 2026 << 10 << 25 << QDate(2026, 10, 25);
        QTest::newRow("29 February of a leap year") << 2024 << 2 << 29 << QDate(2024, 2, 29);
        QTest::newRow("29 February otherwise") << 2026 << 2 << 29 << QDate(2028, 2, 29);
        QTest::newRow("30 February") << 2026 << 2 << 30 << QDate();
        QTest::newRow("month 0") << 2026 << 0 << 1 << QDate();
    }
    void changeDate()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QDate, shown);
        QCOMPARE(ChangeDate(year, month, day), shown);
    }

    void rs232Mode_data()
    {
        QTest::addColumn<int>("modeExt");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("index");
        QTest::newRow("ПК") << 0 << 0 << 0;
        QTest::newRow("GPS") << 0 << 2 << 2;
        QTest::newRow("RS-485 (ПК)") << 1 << 0 << 3;
        QTest::newRow("RS-485 (Преобр.)") << 1 << 1 << 4;
    }
    void rs232Mode()
    {
        QFETCH(int, modeExt);
        QFETCH(int, mode);
        QFETCH(int, index);
        QCOMPARE(Rs232ModeIndex(modeExt, mode), index);
        const Rs232Mode back = Rs232ModeFromIndex(index);
        QCOMPARE(back.modeExt, modeExt);
        QCOMPARE(back.mode, mode);
    }

    void baud()
    {
        QCOMPARE(BaudIndex(11), 10);  // "115200"
        QCOMPARE(BaudValue(6), 7);    // "9600"
    }

    void integerText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // meaningful when message is empty
        QTest::addColumn<QString>("message");
        const QString between = QStringLiteral("Please enter an integer between -8 and 8.");
        const QString integer = QStringLiteral("Please enter an integer.");
        QTest::newRow("in range") << "-8" << -8 << "";
        QTest::newRow("sign and blanks") << " +3 " << 3 << "";
        QTest::newRow("above") << "9" << 0 << between;
        QTest::newRow("huge") << "99999999999999999999" << 0 << between;
        QTest::newRow("fraction") << "1.5" << 0 << integer;
        QTest::newRow("empty") << "" << 0 << integer;
        QTest::newRow("sign alone") << "-" << 0 << integer;
    }
    void integerText()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, message);
        const IntegerCheck check = CheckIntegerText(text, -8, 8);
        QCOMPARE(check.message, message);
        QCOMPARE(check.value.has_value(), message.isEmpty());
        if (check.value)
            QCOMPARE(*check.value, value);
    }
};

QTEST_GUILESS_MAIN(SetpointRulesTest)
#include "tst_setpointrules.moc"
