#include "VoltageRules.h"

#include "common/CFormat.h"

#include <algorithm>
#include <cstdint>

namespace setpoints {

NominalVoltageTexts RecomputeDirect(double phase)
{
    const double clamped = std::clamp(phase, kDirectPhaseMin, kDirectPhaseMax);
    return {FormatC("%.3f", clamped), FormatC("%.3f", clamped * double(kSqrt3))};
}

std::optional<NominalVoltageTexts> RecomputeTransformer(double ratio, double line)
{
    if (!(ratio > 0.0))
        return std::nullopt;
    const double clamped = std::clamp(line, ratio * kLineVoltsPerRatioMin, ratio * kLineVoltsPerRatioMax);
    // The meter works with the secondary phase voltage in whole millivolts.
    const auto secondaryMillivolts = std::uint32_t(clamped / ratio * 1000.0 / double(kSqrt3));
    return NominalVoltageTexts{FormatC("%.3f", double(secondaryMillivolts) * ratio / 1000.0), FormatC("%.3f", clamped)};
}

NominalVoltageTexts RatioChosenTexts(double ratio)
{
    return {FormatC("%10.3f", double(float(ratio) * kSecondaryPhaseVolts)), FormatC("%10.3f", ratio * 100.0)};
}

RatioEntry RatioEntryFromTyped(const QString& typed)
{
    // A transformer ratio is a positive number: a negative one would give negative nominal
    // voltages, which the meter's unsigned millivolts cannot hold.
    const double ratio = ReadCNumber(typed);
    if (!(ratio > 0.0))
        return {1.0, QStringLiteral("1")};
    return {ratio, typed};
}

int LimitSlot(Limit limit, VoltageKind kind)
{
    if (kind == VoltageKind::Phase) {
        if (limit == Limit::i_normal_up)
            return int(Limit::ii_normal_down);
        if (limit == Limit::ii_normal_down)
            return int(Limit::i_normal_up);
    }
    return int(limit);
}

double& LimitValue(VoltageLimitSet& set, Limit limit, VoltageKind kind, VoltageLimitSet::Column column)
{
    return set.dev[std::size_t(LimitSlot(limit, kind))][std::size_t(column)];
}

double StoredSteadyLimit(const QString& text, double previous)
{
    const double value = ReadCNumber(text);
    return value >= kSteadyLimitMin && value <= kSteadyLimitMax ? value : previous;
}

} // namespace setpoints
