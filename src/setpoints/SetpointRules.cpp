#include "SetpointRules.h"

#include "SetpointBlocks.h"
#include "SetpointMessages.h"
#include "common/CFormat.h"

#include <QDateTime>
#include <QTimeZone>

#include <charconv>
#include <cmath>

namespace setpoints {

double LeadingDecimal(QStringView text)
{
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // from_chars takes no sign of its own and never looks at the locale.
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    // Words such as "inf" and "nan" and numbers beyond a double are no values of a page.
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

std::uint16_t RoundedLow16(double value)
{
    return std::uint16_t(std::uint64_t(RoundHalfAwayFromZero(value)) & 0xFFFF);
}

QString NominalFrequencyText(std::uint16_t fNom)
{
    return FormatC("%.2f", double(float(fNom) / 1000.0f));
}

std::uint16_t NominalFrequencyFromText(QStringView text)
{
    return RoundedLow16(LeadingDecimal(text) * 1000.0);
}

QString FrequencyDeviationText(std::int16_t deviation)
{
    return FormatC("%+.2f", double(deviation) / 100.0);
}

std::int16_t FrequencyDeviationFromText(QStringView text)
{
    return std::int16_t(PercentToHundredths(LeadingDecimal(text)));
}

QString RvcText(RvcField field, float value)
{
    const bool threshold = field == RvcThresholdPhase || field == RvcThresholdLine;
    return FormatC(threshold ? "%.1f" : "%.0f", double(value));
}

namespace {

template <typename Model>
auto& RvcSlot(Model& model, RvcField field)
{
    switch (field) {
    case RvcThresholdPhase:
        return model.rvc_threshold_phase;
    case RvcHysteresisPhase:
        return model.rvc_hysteresis_phase;
    case RvcThresholdLine:
        return model.rvc_threshold_line;
    case RvcHysteresisLine:
    case kRvcFieldCount:
        break;
    }
    return model.rvc_hysteresis_line;
}

bool RvcInRange(RvcField field, float value)
{
    const bool threshold = field == RvcThresholdPhase || field == RvcThresholdLine;
    const float low = threshold ? kRvcThresholdMin : kRvcHysteresisMin;
    const float high = threshold ? kRvcThresholdMax : kRvcHysteresisMax;
    return value >= low && value <= high;
}

} // namespace

float RvcModelValue(const ConfigModel& model, RvcField field)
{
    return RvcSlot(model, field);
}

std::array<bool, kRvcFieldCount> StoreRvcTexts(const std::array<QString, kRvcFieldCount>& texts, ConfigModel& model)
{
    std::array<float, kRvcFieldCount> values{};
    std::array<bool, kRvcFieldCount> passed{};
    bool all = true;
    for (int i = 0; i < kRvcFieldCount; ++i) {
        values[i] = float(LeadingDecimal(texts[i]));
        passed[i] = RvcInRange(RvcField(i), values[i]);
        all = all && passed[i];
    }
    if (all) {
        for (int i = 0; i < kRvcFieldCount; ++i)
            RvcSlot(model, RvcField(i)) = values[i];
    }
    return passed;
}

int MarkedValueChoice(std::uint16_t calcFlags, int row)
{
    return (calcFlags >> row) & 1;
}

std::uint16_t PackMarkedValueChoices(std::uint16_t calcFlags, const std::array<int, kMarkedValueRows>& choices)
{
    std::uint16_t flags = calcFlags & ~kMarkedValueMask;
    for (int row = 0; row < kMarkedValueRows; ++row) {
        if (choices[row] == 1)
            flags |= std::uint16_t(1u << row);
    }
    return flags;
}

int StatisticsChoiceIndex(std::uint8_t stored)
{
    return stored == 1 || stored == 2 ? stored - 1 : -1;
}

std::uint8_t StatisticsChoiceValue(int index)
{
    return index == 0 || index == 1 ? std::uint8_t(index + 1) : 0;
}

int SnapLoadPeriodMinute(int minute)
{
    if (minute == 0 || minute == 30)
        return minute;
    if ((minute >= 1 && minute <= 28) || minute == 59)
        return 30;
    return 0;
}

int WeekStartIndex(int weekStartDay)
{
    if (weekStartDay == 0)
        return 6;
    return weekStartDay >= 1 && weekStartDay <= 6 ? weekStartDay - 1 : -1;
}

int WeekStartDay(int index)
{
    if (index == 6)
        return 0;
    return index >= 0 && index < 6 ? index + 1 : -1;
}

int TimeZoneIndexFromBias(int biasMinutes)
{
    const int index = biasMinutes / -60;
    return index >= 0 && index < kTimeZoneEntries ? index : -1;
}

int ComputerTimeZoneBias()
{
    const int offsetSeconds = QTimeZone::systemTimeZone().standardTimeOffset(QDateTime::currentDateTime());
    return -offsetSeconds / 60;
}

QDate ChangeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (date.isValid())
        return date;
    if (month == 2 && day == 29) {
        int leap = year + 1;
        while (!QDate::isLeapYear(leap))
            ++leap;
        return QDate(leap, 2, 29);
    }
    return QDate();
}

int Rs232ModeIndex(int modeExt, int mode)
{
    return modeExt == 1 ? mode + 3 : mode;
}

Rs232Mode Rs232ModeFromIndex(int index)
{
    return index >= 3 ? Rs232Mode{1, index - 3} : Rs232Mode{0, index};
}

int BaudIndex(int stored)
{
    return stored - 1;
}

int BaudValue(int index)
{
    return index + 1;
}

IntegerCheck CheckIntegerText(QStringView text, int low, int high)
{
    const QStringView t = text.trimmed();
    qsizetype digitsFrom = (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) ? 1 : 0;
    bool integer = t.size() > digitsFrom;
    for (qsizetype i = digitsFrom; integer && i < t.size(); ++i)
        integer = t[i] >= u'0' && t[i] <= u'9';
    if (!integer)
        return {std::nullopt, msg::kEnterInteger};
    bool ok = false;
    const long long value = t.toLongLong(&ok);
    if (!ok || value < low || value > high)
        return {std::nullopt, msg::EnterIntegerBetween(low, high)};
    return {int(value), QString()};
}

} // namespace setpoints
