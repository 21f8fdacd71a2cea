#pragma once
// What the setpoint sub-pages compute between their controls and the model: the texts of
// their numbers and back, the rapid-voltage-change limits, the calculation choices, the
// half-hour load periods, the week-day and RS-232 lists and the computer's time zone. The
// pages only show and collect; every rule a test or the command-line tool could use is here.
#include "model/ConfigModel.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace setpoints {

// The number a typed text starts with, as the meter's pages have always read their edits:
// leading blanks, a sign, digits with a point and an exponent ("+0.20", " 12.5 Гц" -> 12.5);
// 0 when the text starts with no number.
double LeadingDecimal(QStringView text);

// value rounded half away from zero, kept as its low 16 bits (70 * 1000 -> 4464); no range check.
std::uint16_t RoundedLow16(double value);

// "Частота": the nominal frequency (f_nom, 0.001 Hz) shows "%.2f" Hz; the deviations
// (0.01 Hz) show "%+.2f" Hz.
QString NominalFrequencyText(std::uint16_t fNom);
std::uint16_t NominalFrequencyFromText(QStringView text);
QString FrequencyDeviationText(std::int16_t deviation);
std::int16_t FrequencyDeviationFromText(QStringView text);

// "Быстрые изменения напряжения": the four values in the order of the page's edits.
enum RvcField { RvcThresholdPhase, RvcHysteresisPhase, RvcThresholdLine, RvcHysteresisLine, kRvcFieldCount };
constexpr float kRvcThresholdMin = 1.0f;
constexpr float kRvcThresholdMax = 60.0f;
constexpr float kRvcHysteresisMin = 20.0f;
constexpr float kRvcHysteresisMax = 80.0f;
// "%.1f" for a threshold, "%.0f" for a hysteresis.
QString RvcText(RvcField field, float value);
float RvcModelValue(const ConfigModel& model, RvcField field);
// All or nothing: each text is read in single precision and checked against its bounds
// (bounds included); only when all four pass are they stored. Returns which passed.
std::array<bool, kRvcFieldCount> StoreRvcTexts(const std::array<QString, kRvcFieldCount>& texts, ConfigModel& model);

// "Расчёт": twelve marked-value rows in bits 0..11 of calc_flags (0 "Не производится",
// 1 "Производится"); bits 12..15 belong to the meter and are kept.
constexpr int kMarkedValueRows = 12;
constexpr std::uint16_t kMarkedValueMask = 0x0FFF;
int MarkedValueChoice(std::uint16_t calcFlags, int row);
std::uint16_t PackMarkedValueChoices(std::uint16_t calcFlags, const std::array<int, kMarkedValueRows>& choices);
// Nine statistics rows: calc_choice 1 (one minute) or 2 (ten minutes) <-> radio 0 or 1; any
// other stored value selects neither (-1), and a row without a selection stores 0.
int StatisticsChoiceIndex(std::uint8_t stored);
std::uint8_t StatisticsChoiceValue(int index);

// "Время": the minute a load-period picker settles on after a change: 1..28 and 59 go to the
// half hour, 29..58 (but 30 itself) to the full hour, so a spin step toggles between 00 and 30;
// a minute already on 00 or 30 stays (a changed hour keeps its half hour).
int SnapLoadPeriodMinute(int minute);
// week_start_day 0 = Sunday ... 6 = Saturday <-> the list "Понедельник" ... "Воскресенье";
// a stored value outside 0..6 selects nothing (-1).
int WeekStartIndex(int weekStartDay);
int WeekStartDay(int index);
// The entry of the list "UTC+00" ... "UTC+12" for the computer's bias in minutes (UTC minus
// local time), divided by -60 truncating; a zone west of UTC or beyond +12 has none (-1).
constexpr int kTimeZoneEntries = 13;
int TimeZoneIndexFromBias(int biasMinutes);
// The computer's standard bias (without daylight saving) in minutes, UTC minus local time.
int ComputerTimeZoneBias();
// The date a summer or winter change picker shows for day and month: in year, or, for a
// 29 February that year lacks, in the next leap year, so that it loads and stores unchanged.
// Invalid for a day and month no year has.
QDate ChangeDate(int year, int month, int day);

// "Системные": the RS-232 list "ПК", "Преобразователь", "GPS", "RS-485 (ПК)", "RS-485 (Преобр.)"
// shows rs232_mode + 3 when rs232_mode_ext is 1, else rs232_mode.
struct Rs232Mode {
    int modeExt = 0;
    int mode = 0;
};
int Rs232ModeIndex(int modeExt, int mode);
Rs232Mode Rs232ModeFromIndex(int index);
// The rate lists hold "110" ... "115200"; the meter counts them from 1.
int BaudIndex(int stored);
int BaudValue(int index);

// The integer a correction edit holds, or the framework's message when it holds none:
// "Please enter an integer." or "Please enter an integer between %1 and %2.".
struct IntegerCheck {
    std::optional<int> value;
    QString message;
};
IntegerCheck CheckIntegerText(QStringView text, int low, int high);

} // namespace setpoints
