#pragma once
// What the coefficient page computes: how a typed percentage becomes the meter's units of
// 0.01 %, how those units are shown, and the standard harmonic limits for the voltage
// class of the network.
#include <QString>

#include <array>
#include <cstdint>

namespace setpoints {

// A coefficient in 0.01 % as its edit or cell shows it ("%.2f" of value / 100).
QString CoefficientText(std::uint16_t value);

// A typed percentage in 0.01 %: a comma counts as the point, the text is cut after two
// decimals (not rounded), the leading integer of the digits is taken and wrapped to 16 bits.
// "5" gives 500, "1,5" 150, "1.234" 123, "-1" 65436, "abc" and "" 0.
std::uint16_t CoefficientFromText(QStringView text);

// Voltage classes by line-to-line voltage: 1 below 6 kV, 2 up to 35 kV, 3 up to 110 kV,
// 4 from 110 kV on.
int VoltageClassFor(std::uint32_t lineVolts);

// The line voltage a class is chosen by: the integer part of the line-voltage edit's text,
// taken as an unsigned number (a negative text wraps to a large one).
std::uint32_t LineVoltsForClass(QStringView text);

inline constexpr int kFirstHarmonic = 2;
inline constexpr int kLastHarmonic = 50;

struct VoltageClassLimits {
    // Normal harmonic limits in % for the orders 2..50 (index n - 2).
    std::array<double, kLastHarmonic - kFirstHarmonic + 1> harmonicNormal{};
    QString kuNormalText;  // total distortion, normal
    QString kuMaxText;     // total distortion, maximum
};

// class is 1..4; anything else is taken as the nearest class.
const VoltageClassLimits& VoltageClassTable(int voltageClass);

// The maximum harmonic limit is one and a half times the normal one.
inline double MaximumFromNormal(double normal) { return normal * 1.5; }

} // namespace setpoints
