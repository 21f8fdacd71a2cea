#pragma once
// What the voltage pages compute: the nominal voltages from what the user typed (direct
// input or through voltage transformers), the texts shown when a transformer ratio is
// chosen, and how the deviation limits are read back from their edits.
#include "model/ConfigModel.h"

#include <QString>

#include <optional>

namespace setpoints {

// √3 and the secondary phase voltage per unit of ratio, as single-precision constants: the
// nominal voltages the meter has always been given are computed with exactly these.
inline constexpr float kSqrt3 = 1.7320508f;
inline constexpr float kSecondaryPhaseVolts = 57.735f;

// Direct input accepts phase voltages of 100..242 V.
inline constexpr double kDirectPhaseMin = 100.0;
inline constexpr double kDirectPhaseMax = 242.0;
// Through transformers the line voltage stays within ±10 % of ratio × 100 V.
inline constexpr double kLineVoltsPerRatioMin = 90.0;
inline constexpr double kLineVoltsPerRatioMax = 110.0;

// The texts of a new direct-input connection.
inline const QString kDirectPhaseText = QStringLiteral("220.000");
inline const QString kDirectLineText = QStringLiteral("381.051");

struct NominalVoltageTexts {
    QString phase;
    QString line;
    friend bool operator==(const NominalVoltageTexts&, const NominalVoltageTexts&) = default;
};

// Direct input: the phase voltage clamped to 100..242 V and the line voltage phase × √3,
// both "%.3f".
NominalVoltageTexts RecomputeDirect(double phase);

// Transformer input: the line voltage clamped to ratio × 90..110 V and the phase voltage
// from the whole millivolts of the secondary phase voltage, both "%.3f". A ratio that is
// not a positive number (an empty selection, a typed entry without a number) gives nothing
// to compute: the texts stay as typed.
std::optional<NominalVoltageTexts> RecomputeTransformer(double ratio, double line);

// What the two edits show right after a ratio is chosen: ratio × 57.735 and ratio × 100,
// "%10.3f" (right-aligned in ten characters until the recomputation rewrites them).
NominalVoltageTexts RatioChosenTexts(double ratio);

// The list entry a ratio typed into the "new ratio" dialog becomes: its own text, or "1"
// when it holds no positive number (an empty or cancelled dialog, 0, a negative number).
struct RatioEntry {
    double ratio = 1.0;
    QString text;
};
RatioEntry RatioEntryFromTyped(const QString& typed);

// The eight deviation limits of a voltage kind, by name. The phase set keeps i_normal_up
// and ii_normal_down in swapped slots.
enum class Limit { ii_max_up, i_max_up, ii_max_down, i_max_down, ii_normal_up, i_normal_up, ii_normal_down, i_normal_down };
enum class VoltageKind { Phase, Line };
int LimitSlot(Limit limit, VoltageKind kind);
double& LimitValue(VoltageLimitSet& set, Limit limit, VoltageKind kind, VoltageLimitSet::Column column);

// The steady-state limits and the dip, swell and interruption levels are percentages of the
// nominal voltage: a text outside -100..100 keeps the previous value.
inline constexpr double kSteadyLimitMin = -100.0;
inline constexpr double kSteadyLimitMax = 100.0;
double StoredSteadyLimit(const QString& text, double previous);

} // namespace setpoints
