// The sub-pages "Частота", "Фликер", "Быстрые изменения напряжения", "Расчёт", "Время" and
// "Системные" on their own: what they show of a model, what they store back, their messages
// and their accessible names.
#include "ScriptedPrompt.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "setpoints/DataCalc.h"
#include "setpoints/DataFliker.h"
#include "setpoints/DataFreqDialog.h"
#include "setpoints/DataRvc.h"
#include "setpoints/DataSystemDialog.h"
#include "setpoints/DataTimeDialog.h"
#include "setpoints/SecondView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

namespace {

QLineEdit* Edit(QWidget& page, const char* name)
{
    return page.findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Replaces an edit's text as typing would.
void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Leave(QWidget* edit)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &out);
}

QDate ThisYear(int month, int day)
{
    return QDate(QDate::currentDate().year(), month, day);
}

} // namespace

class SetpointPagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A computer five hours east of UTC, without daylight saving.
        qputenv("TZ", "Asia/Yekaterinburg");
    }
    void init() { modelChanged().Clear(); }

    void frequencyShowsTheModel();
    void frequencyStoresRoundedLow16Bits_data();
    void frequencyStoresRoundedLow16Bits();
    void frequencyNominalTakesDigitsOnly();
    void flickerTwoDecimalsUnchecked();
    void rvcAllOrNothing();
    void calcNewConfiguration();
    void calcBitsAndKeptUpperBits();
    void calcChoiceZeroSelectsNeither();
    void calcRowLabelsLineUpWithTheirRadios();
    void timeWeekStartDay();
    void timeLoadPeriodsSnapToHalfHours_data();
    void timeLoadPeriodsSnapToHalfHours();
    void timeLoadPeriodSpinToggles();
    void timeComputerTimeZoneAndClock();
    void timeReloadWithdrawsTheClockRequest();
    void timeCorrectionMessages_data();
    void timeCorrectionMessages();
    void timeChangeDates();
    void systemRs232AndRates();
    void systemDeviceModes();
    void systemAddress();
    void systemPassesModemAndGprsThrough();
    void userEditsMarkTheModelChanged();
    void hostHandsTheTestedAddressToTheSystemPage();
};

void SetpointPagesTest::frequencyShowsTheModel()
{
    CDataFreqDialog page;
    ConfigModel model = NewConfigModel();
    model.f_nom = 60000;
    model.df_max_up = 20;
    model.df_max_down = -40;
    page.ExchangeWithModel(model, 1);
    QCOMPARE(Edit(page, "nominalFrequency")->text(), QStringLiteral("60.00"));
    QCOMPARE(Edit(page, "dfMaxUp")->text(), QStringLiteral("+0.20"));
    QCOMPARE(Edit(page, "dfMaxDown")->text(), QStringLiteral("-0.40"));
    QCOMPARE(Edit(page, "dfNormalDown")->accessibleName(), QStringLiteral("ΔFнд н,Гц"));
    QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("averagingPeriod"))->currentText(), QStringLiteral("10"));
    QVERIFY(!modelChanged().IsSet());

    // The warning is part of the page, not a message.
    page.show();
    QVERIFY(page.findChild<QLabel*>(QStringLiteral("averagingWarning"))->isVisible());
}

void SetpointPagesTest::frequencyStoresRoundedLow16Bits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");
    QTest::newRow("nominal 60") << "nominalFrequency" << "60" << 60000;
    QTest::newRow("nominal 70 keeps the low 16 bits") << "nominalFrequency" << "70" << 4464;
    QTest::newRow("0.125 rounds away from zero") << "dfNormalUp" << "0.125" << 13;
    QTest::newRow("not a number") << "dfNormalDown" << "-" << 0;
}

void SetpointPagesTest::frequencyStoresRoundedLow16Bits()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(int, stored);
    CDataFreqDialog page;
    ConfigModel model = NewConfigModel();
    page.ExchangeWithModel(model, 1);
    page.findChild<QLineEdit*>(edit)->setText(text);
    page.findChild<QComboBox*>(QStringLiteral("averagingPeriod"))->setCurrentIndex(1);
    page.ExchangeWithModel(model, 0);
    const int values[] = {model.f_nom, model.df_normal_up, model.df_normal_down};
    const int which = edit == QLatin1String("nominalFrequency") ? 0 : edit == QLatin1String("dfNormalUp") ? 1 : 2;
    QCOMPARE(values[which], stored);
    QCOMPARE(int(model.f_avg_period), 1);
}

void SetpointPagesTest::frequencyNominalTakesDigitsOnly()
{
    CDataFreqDialog page;
    QLineEdit* nominal = Edit(page, "nominalFrequency");
    Type(nominal, QStringLiteral("6,0.x"));
    QCOMPARE(nominal->text(), QStringLiteral("60"));
    QVERIFY(modelChanged().IsSet());
}

void SetpointPagesTest::flickerTwoDecimalsUnchecked()
{
    CDataFliker page;
    ConfigModel model = NewConfigModel();
    page.ExchangeWithModel(model, 1);
    QCOMPARE(Edit(page, "pstNormal")->text(), QStringLiteral("1.38"));
    QCOMPARE(Edit(page, "pltMax")->text(), QStringLiteral("1.00"));
    QCOMPARE(Edit(page, "pstMax")->accessibleName(), QStringLiteral("Pstпред"));
    Edit(page, "pstMax")->setText(QStringLiteral("250.5"));
    Edit(page, "pltNormal")->setText(QStringLiteral("доза"));
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.pst_max, 250.5);
    QCOMPARE(model.plt_normal, 0.0);
    QCOMPARE(model.pst_normal, 1.38);
}

void SetpointPagesTest::rvcAllOrNothing()
{
    CDataRvc page;
    ConfigModel model = NewConfigModel();
    page.ExchangeWithModel(model, 1);
    QCOMPARE(Edit(page, "thresholdPhase")->text(), QStringLiteral("2.0"));
    QCOMPARE(Edit(page, "hysteresisLine")->text(), QStringLiteral("50"));
    QCOMPARE(Edit(page, "hysteresisLine")->accessibleName(), QStringLiteral("Междуфазный порог: Гистерезис, %"));

    // One value out of range: nothing is stored, the failed edit shows the model's value
    // again, the others keep what was typed.
    Edit(page, "thresholdPhase")->setText(QStringLiteral("0.5"));
    Edit(page, "hysteresisPhase")->setText(QStringLiteral("60"));
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.rvc_threshold_phase, 2.0f);
    QCOMPARE(model.rvc_hysteresis_phase, 50.0f);
    QCOMPARE(Edit(page, "thresholdPhase")->text(), QStringLiteral("2.0"));
    QCOMPARE(Edit(page, "hysteresisPhase")->text(), QStringLiteral("60"));

    Edit(page, "thresholdPhase")->setText(QStringLiteral("60"));
    Edit(page, "hysteresisPhase")->setText(QStringLiteral("80"));
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.rvc_threshold_phase, 60.0f);
    QCOMPARE(model.rvc_hysteresis_phase, 80.0f);
}

void SetpointPagesTest::calcNewConfiguration()
{
    CDataCalc page;
    // Before any load every row is on its first radio and the single groups on neither.
    QVERIFY(page.MarkedRadio(5, 0)->isChecked());
    QVERIFY(!page.SyncRadio(0)->isChecked() && !page.SyncRadio(1)->isChecked());

    ConfigModel model = NewConfigModel();
    page.ExchangeWithModel(model, 1);
    for (int row = 0; row < CDataCalc::kMarkedRows; ++row)
        QVERIFY2(page.MarkedRadio(row, 0)->isChecked(), qPrintable(QString::number(row)));
    for (int row = 0; row < CDataCalc::kStatisticsRows; ++row)
        QVERIFY2(page.StatisticsRadio(row, 1)->isChecked(), qPrintable(QString::number(row)));
    QVERIFY(page.SyncRadio(1)->isChecked());
    QVERIFY(page.AssessmentRadio(1)->isChecked());
    QCOMPARE(page.SyncRadio(1)->text(), QStringLiteral("10 минут"));
    QCOMPARE(page.AssessmentRadio(1)->text(), QStringLiteral("Неделя"));
    QCOMPARE(page.MarkedRadio(0, 1)->accessibleName(), QStringLiteral("δU: Производится"));
    QCOMPARE(page.MarkedRadio(9, 0)->accessibleName(), QStringLiteral("Pst: Не производится"));
    QCOMPARE(page.StatisticsRadio(6, 0)->accessibleName(), QStringLiteral("K0u: Минута"));

    ConfigModel stored = model;
    page.ExchangeWithModel(stored, 0);
    QCOMPARE(stored.calc_flags, model.calc_flags);
    QCOMPARE(stored.calc_choice, model.calc_choice);
    QCOMPARE(stored.calc_opt_a, model.calc_opt_a);
    QCOMPARE(stored.calc_opt_b, model.calc_opt_b);
}

void SetpointPagesTest::calcBitsAndKeptUpperBits()
{
    CDataCalc page;
    ConfigModel model = NewConfigModel();
    model.calc_flags = 0x0801;
    page.ExchangeWithModel(model, 1);
    for (int row = 0; row < CDataCalc::kMarkedRows; ++row)
        QCOMPARE(page.MarkedRadio(row, 1)->isChecked(), row == 0 || row == 11);
    page.MarkedRadio(3, 1)->click();  // K~U~
    QVERIFY(modelChanged().IsSet());
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.calc_flags, quint16(0x0809));

    model.calc_flags = 0x8001;
    page.ExchangeWithModel(model, 1);
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.calc_flags, quint16(0x8001));
}

void SetpointPagesTest::calcChoiceZeroSelectsNeither()
{
    CDataCalc page;
    ConfigModel model = NewConfigModel();
    model.calc_choice[4] = 0;
    model.calc_opt_b = 7;
    page.ExchangeWithModel(model, 1);
    QVERIFY(!page.StatisticsRadio(4, 0)->isChecked() && !page.StatisticsRadio(4, 1)->isChecked());
    QVERIFY(page.StatisticsRadio(3, 1)->isChecked());
    QVERIFY(!page.AssessmentRadio(0)->isChecked() && !page.AssessmentRadio(1)->isChecked());
    model.calc_choice[4] = 2;
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.calc_choice[4], quint8(0));
    QCOMPARE(model.calc_choice[3], quint8(2));
    QCOMPARE(model.calc_opt_b, quint8(7));
}

void SetpointPagesTest::calcRowLabelsLineUpWithTheirRadios()
{
    CDataCalc page;
    page.resize(900, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    for (int row = 0; row < CDataCalc::kMarkedRows + CDataCalc::kStatisticsRows; ++row) {
        const bool marked = row < CDataCalc::kMarkedRows;
        const int r = marked ? row : row - CDataCalc::kMarkedRows;
        QAbstractButton* radio = marked ? page.MarkedRadio(r, 0) : page.StatisticsRadio(r, 0);
        auto* label = page.findChild<QWidget*>(QStringLiteral("%1Label%2").arg(marked ? "marked" : "statistics").arg(r));
        QVERIFY(label);
        const int labelCentre = label->mapTo(&page, label->rect().center()).y();
        const int radioCentre = radio->mapTo(&page, radio->rect().center()).y();
        QVERIFY2(qAbs(labelCentre - radioCentre) <= 1, qPrintable(QStringLiteral("row %1").arg(row)));
        QVERIFY(label->geometry().right() < radio->geometry().left());
    }
}

void SetpointPagesTest::timeWeekStartDay()
{
    CDataTimeDialog page;
    ConfigModel model = NewConfigModel();
    model.week_start_day = 0;
    page.ExchangeWithModel(model, 1);
    QCOMPARE(page.WeekStartList()->currentText(), QStringLiteral("Воскресенье"));
    page.WeekStartList()->setCurrentIndex(0);
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.week_start_day, 1);
}

void SetpointPagesTest::timeLoadPeriodsSnapToHalfHours_data()
{
    QTest::addColumn<QTime>("typed");
    QTest::addColumn<QTime>("shown");
    QTest::newRow("08:45") << QTime(8, 45) << QTime(8, 0);
    QTest::newRow("08:15") << QTime(8, 15) << QTime(8, 30);
    QTest::newRow("08:59") << QTime(8, 59) << QTime(8, 30);
    QTest::newRow("08:30") << QTime(8, 30) << QTime(8, 30);
}

void SetpointPagesTest::timeLoadPeriodsSnapToHalfHours()
{
    QFETCH(QTime, typed);
    QFETCH(QTime, shown);
    CDataTimeDialog page;
    ConfigModel model = NewConfigModel();
    // What the model holds loads as it is.
    model.load_period_hour[5] = 17;
    model.load_period_minute[5] = 15;
    page.ExchangeWithModel(model, 1);
    QCOMPARE(page.LoadPeriodPicker(5)->time(), QTime(17, 15));
    QVERIFY(!modelChanged().IsSet());

    page.LoadPeriodPicker(2)->setTime(typed);
    QCOMPARE(page.LoadPeriodPicker(2)->time(), shown);
    QVERIFY(modelChanged().IsSet());
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.load_period_hour[2], shown.hour());
    QCOMPARE(model.load_period_minute[2], shown.minute());
    QCOMPARE(model.load_period_minute[5], 15);
}

void SetpointPagesTest::timeLoadPeriodSpinToggles()
{
    CDataTimeDialog page;
    QTimeEdit* picker = page.LoadPeriodPicker(0);
    picker->setTime(QTime(9, 0));
    picker->setCurrentSection(QDateTimeEdit::MinuteSection);
    const QTime expected[] = {QTime(9, 30), QTime(9, 0)};
    for (const QTime& time : expected) {
        picker->stepUp();
        QCOMPARE(picker->time(), time);
    }
    picker->stepDown();  // 09:00 -> 09:59 -> 09:30
    QCOMPARE(picker->time(), QTime(9, 30));
    picker->stepDown();  // 09:29 -> 09:00
    QCOMPARE(picker->time(), QTime(9, 0));
}

void SetpointPagesTest::timeComputerTimeZoneAndClock()
{
    CDataTimeDialog page;
    // Before the first load.
    QCOMPARE(page.TimeZoneList()->currentText(), QStringLiteral("UTC+03"));
    QVERIFY(!page.TimeZoneList()->isEnabled());
    QVERIFY(!page.UsePcTimeBox()->isEnabled());

    ConfigModel model = NewConfigModel();
    model.time_zone = 1;
    model.write_time = 1;
    page.ExchangeWithModel(model, 1);
    QVERIFY(page.UsePcTimeBox()->isEnabled());
    page.WriteTimeBox()->setChecked(true);
    const QDateTime now(QDate(2024, 2, 29), QTime(23, 59, 58));
    page.SetClockSource([now] { return now; });
    page.UsePcTimeBox()->click();
    QCOMPARE(page.TimeZoneList()->currentText(), QStringLiteral("UTC+05"));
    QVERIFY(page.ClockTimer()->isActive());
    QCOMPARE(page.ClockTimer()->interval(), 1000);
    page.OnClockTimer();
    QCOMPARE(page.ClockTimePicker()->time(), QTime(23, 59, 58));
    QCOMPARE(page.ClockDatePicker()->date(), QDate(2024, 2, 29));

    page.ExchangeWithModel(model, 0);
    QCOMPARE(int(model.time_zone), 5);
    QCOMPARE(model.use_pc_time, 1);
    QCOMPARE(model.write_time, 1);
    QVERIFY(page.WriteTimeTicked());
    QCOMPARE(model.set_year, 2024);
    QCOMPARE(model.set_day, 29);
    QCOMPARE(model.set_second, 58);

    page.UsePcTimeBox()->click();
    QVERIFY(!page.ClockTimer()->isActive());
}

void SetpointPagesTest::timeReloadWithdrawsTheClockRequest()
{
    CDataTimeDialog page;
    ConfigModel model = NewConfigModel();
    model.write_time = 1;
    page.ExchangeWithModel(model, 1);
    page.WriteTimeBox()->setChecked(true);
    page.UsePcTimeBox()->click();
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.write_time, 1);
    QCOMPARE(model.use_pc_time, 1);

    // A reload with the request still in the model, as after reading the meter.
    page.ExchangeWithModel(model, 1);
    QVERIFY(!page.WriteTimeBox()->isChecked());
    QVERIFY(!page.UsePcTimeBox()->isChecked());
    QVERIFY(!page.ClockTimer()->isActive());
    QCOMPARE(model.write_time, 0);
    QCOMPARE(model.use_pc_time, 0);
    QVERIFY(!page.WriteTimeTicked());
    // The model asked for the clock, so its controls stay usable for ticking the box again.
    QVERIFY(page.ClockTimePicker()->isEnabled());

    page.ExchangeWithModel(model, 1);
    QVERIFY(!page.ClockTimePicker()->isEnabled());
    QVERIFY(!page.UsePcTimeBox()->isEnabled());
    page.WriteTimeBox()->setChecked(true);
    QVERIFY(page.UsePcTimeBox()->isEnabled());
}

void SetpointPagesTest::timeCorrectionMessages_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("automatic 9") << "autoCorrection" << "9"
                                 << "Please enter an integer between -8 and 8.";
    QTest::newRow("soft -21") << "softCorrection" << "-21" << "Please enter an integer between -20 and 20.";
    QTest::newRow("not an integer") << "autoCorrection" << "2.5" << "Please enter an integer.";
    QTest::newRow("in range") << "softCorrection" << "-20" << "";
}

void SetpointPagesTest::timeCorrectionMessages()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ScriptedPrompt prompt;
    CDataTimeDialog page;
    page.SetPrompt(&prompt);
    ConfigModel model = NewConfigModel();
    model.auto_correction_s = -3;
    model.soft_correction_s = 4;
    page.ExchangeWithModel(model, 1);
    QLineEdit* field = page.findChild<QLineEdit*>(edit);
    field->setText(text);
    Leave(field);
    const QStringList expected = message.isEmpty() ? QStringList() : QStringList{message};
    QCoreApplication::processEvents();
    QCOMPARE(prompt.texts(), expected);

    // Storing checks again; a refused text keeps the previous value.
    prompt.clear();
    page.ExchangeWithModel(model, 0);
    QCOMPARE(prompt.texts(), expected);
    const int stored = edit == QLatin1String("autoCorrection") ? model.auto_correction_s : model.soft_correction_s;
    const int previous = edit == QLatin1String("autoCorrection") ? -3 : 4;
    QCOMPARE(stored, message.isEmpty() ? text.toInt() : previous);
}

void SetpointPagesTest::timeChangeDates()
{
    CDataTimeDialog page;
    ConfigModel model = NewConfigModel();
    model.winter_auto = 1;
    model.winter_month = 10;
    model.winter_day = 27;
    model.summer_auto = 0;
    model.summer_month = 2;
    model.summer_day = 29;  // whatever the year
    page.ExchangeWithModel(model, 1);
    QCOMPARE(page.ChangePicker(0, 1)->date(), ThisYear(10, 27));
    QVERIFY(!page.ChangePicker(0, 0)->isEnabled());
    QVERIFY(page.ChangeRadio(0, 1)->isChecked());
    QCOMPARE(page.ChangeRadio(0, 1)->accessibleName(), QStringLiteral("Зимнее время: Автоматически"));
    QVERIFY(page.ChangePicker(1, 0)->isEnabled());
    QCOMPARE(page.ChangePicker(1, 0)->date().month(), 2);
    QCOMPARE(page.ChangePicker(1, 0)->date().day(), 29);

    ConfigModel stored = model;
    page.ExchangeWithModel(stored, 0);
    QCOMPARE(stored.winter_month, 10);
    QCOMPARE(stored.winter_day, 27);
    QCOMPARE(stored.summer_month, 2);
    QCOMPARE(stored.summer_day, 29);

    // Choosing the manual entry opens its picker; the date is taken from it.
    page.ChangeRadio(0, 0)->click();
    QVERIFY(page.ChangePicker(0, 0)->isEnabled());
    QVERIFY(modelChanged().IsSet());
    page.ChangePicker(0, 0)->setDate(ThisYear(11, 3));
    page.ExchangeWithModel(stored, 0);
    QCOMPARE(stored.winter_auto, quint8(0));
    QCOMPARE(stored.winter_month, 11);
    QCOMPARE(stored.winter_day, 3);
}

void SetpointPagesTest::systemRs232AndRates()
{
    CDataSystemDialog page;
    ConfigModel model = NewConfigModel();
    model.device_address = 5;
    model.rs232_mode_ext = 1;
    model.rs232_mode = 1;
    page.ExchangeWithModel(model, 1);
    QCOMPARE(page.Rs232ModeList()->currentText(), QStringLiteral("RS-485 (Преобр.)"));
    QCOMPARE(page.Rs232BaudList()->currentText(), QStringLiteral("115200"));
    QCOMPARE(page.Rs232ModeList()->accessibleName(), QStringLiteral("Интерфейс RS-232: Режим работы "));
    QCOMPARE(page.Rs485BaudList()->accessibleName(), QStringLiteral("Интерфейс RS-485: Скорость обмена, бит/с"));
    QVERIFY(!modelChanged().IsSet());

    page.Rs232ModeList()->setCurrentText(QStringLiteral("GPS"));
    page.Rs232BaudList()->setCurrentText(QStringLiteral("9600"));
    page.Rs485ModeList()->setCurrentIndex(1);
    QVERIFY(modelChanged().IsSet());
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.rs232_mode_ext, 0);
    QCOMPARE(model.rs232_mode, 2);
    QCOMPARE(model.rs232_baud, 7);
    QCOMPARE(model.rs485_mode, 1);
    QCOMPARE(model.rs485_baud, 11);
}

void SetpointPagesTest::systemDeviceModes()
{
    CDataSystemDialog page;
    ConfigModel model = NewConfigModel();
    model.device_address = 5;
    model.device_mode = 3;  // calibration, as a meter may report it
    page.ExchangeWithModel(model, 1);
    QVERIFY(page.ModeRadio(3)->isChecked());
    QVERIFY(!page.ModeRadio(3)->isEnabled());
    QCOMPARE(page.ModeRadio(2)->text(), QStringLiteral("Сброс"));
    page.ModeRadio(4)->click();
    page.ExchangeWithModel(model, 0);
    QCOMPARE(model.device_mode, 4);
}

void SetpointPagesTest::systemAddress()
{
    ScriptedPrompt prompt;
    CDataSystemDialog page;
    page.SetPrompt(&prompt);
    ConfigModel model = NewConfigModel();
    model.device_address = 12;
    page.ExchangeWithModel(model, 1);
    QCOMPARE(page.AddressEdit()->text(), QStringLiteral("12"));
    QVERIFY(!page.AddressEdit()->isEnabled());
    QCOMPARE(page.AddressEdit()->accessibleName(), QStringLiteral("Адрес в сети:"));

    page.AddressBox()->setChecked(true);
    QVERIFY(page.AddressEdit()->isEnabled());
    Type(page.AddressEdit(), QStringLiteral("7a0000"));
    QCOMPARE(page.AddressEdit()->text(), QStringLiteral("70000"));
    page.ExchangeWithModel(model, 0);
    QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("notice")});
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Адрес прибора не в диапазоне от 1 до 65535.\nАдрес не будет изменён.")});
    QCOMPARE(model.device_address, quint16(12));
    QCOMPARE(model.address_write_flag, 1);

    prompt.clear();
    page.AddressEdit()->setText(QStringLiteral("65535"));
    page.ExchangeWithModel(model, 0);
    QVERIFY(prompt.shown().isEmpty());
    QCOMPARE(model.device_address, quint16(65535));

    // Not to be written: an address out of range is kept without a warning.
    page.AddressEdit()->clear();
    page.AddressBox()->setChecked(false);
    page.ExchangeWithModel(model, 0);
    QVERIFY(prompt.shown().isEmpty());
    QCOMPARE(model.device_address, quint16(65535));
    QCOMPARE(model.address_write_flag, 0);
}

void SetpointPagesTest::systemPassesModemAndGprsThrough()
{
    ScriptedPrompt prompt;
    CDataSystemDialog page;
    page.SetPrompt(&prompt);
    ConfigModel model = NewConfigModel();
    model.device_address = 3;
    model.modem_rings = 300;  // outside what a rings field would take
    model.gprs_wait_a = {0, 61};
    model.gprs_wait_b = {15, 60};
    model.gprs_apn = {QByteArray("internet.example"), QByteArray()};
    model.gprs_extra = {QByteArray("+CGDCONT=1"), QByteArray("x")};
    const ConfigModel before = model;
    page.ExchangeWithModel(model, 1);
    page.ExchangeWithModel(model, 0);
    QVERIFY(prompt.shown().isEmpty());
    QCOMPARE(model.modem_rings, before.modem_rings);
    QCOMPARE(model.gprs_wait_a, before.gprs_wait_a);
    QCOMPARE(model.gprs_wait_b, before.gprs_wait_b);
    QCOMPARE(model.gprs_apn, before.gprs_apn);
    QCOMPARE(model.gprs_extra, before.gprs_extra);
    QCOMPARE(model.sys_byte4, before.sys_byte4);
}

void SetpointPagesTest::userEditsMarkTheModelChanged()
{
    // Edits that reach the model only at the next store still count as changes.
    CDataFliker fliker;
    CDataRvc rvc;
    CDataCalc calc;
    CDataTimeDialog time;
    CDataSystemDialog system;
    ConfigModel model = NewConfigModel();
    model.device_address = 1;
    for (CSetpointSubPage* page : std::initializer_list<CSetpointSubPage*>{&fliker, &rvc, &calc, &time, &system})
        page->ExchangeWithModel(model, 1);
    QVERIFY(!modelChanged().IsSet());
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"flicker dose", [&] { Type(Edit(fliker, "pltMax"), QStringLiteral("2")); }},
        {"rvc threshold", [&] { Type(Edit(rvc, "thresholdLine"), QStringLiteral("3")); }},
        {"synchronisation interval", [&] { calc.SyncRadio(0)->click(); }},
        {"assessment period", [&] { calc.AssessmentRadio(0)->click(); }},
        {"summer change", [&] { time.ChangeRadio(1, 0)->click(); }},
        {"clock request", [&] { time.WriteTimeBox()->setChecked(true); }},
        {"device mode", [&] { system.ModeRadio(0)->click(); }},
        {"address request", [&] { system.AddressBox()->setChecked(true); }},
        {"address", [&] { Type(system.AddressEdit(), QStringLiteral("9")); }},
    };
    for (const auto& [what, edit] : edits) {
        modelChanged().Clear();
        edit();
        QVERIFY2(modelChanged().IsSet(), what);
    }
}

void SetpointPagesTest::hostHandsTheTestedAddressToTheSystemPage()
{
    CSecondView view;
    view.SetSystemAddressText(QStringLiteral("17"));
    QCOMPARE(view.SystemPage()->AddressEdit()->text(), QStringLiteral("17"));
    QCOMPARE(view.SystemPage()->AddressText(), QStringLiteral("17"));
}

QTEST_MAIN(SetpointPagesTest)
#include "tst_subpages.moc"
