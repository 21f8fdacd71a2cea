#include "SetpointBlocks.h"

#include "common/LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace setpoints {

namespace {

// Little-endian access to a block.
std::uint8_t U8(QByteArrayView b, int offset) { return std::uint8_t(b[offset]); }
std::uint16_t U16(QByteArrayView b, int offset) { return le::U16(b, offset); }
std::int16_t I16(QByteArrayView b, int offset) { return std::int16_t(U16(b, offset)); }
std::uint32_t U32(QByteArrayView b, int offset) { return le::U32(b, offset); }
void PutU8(QByteArray& b, int offset, std::uint32_t value) { b[offset] = char(value & 0xFF); }
// The low 16 bits of wider values, as the meter takes them.
void PutU16(QByteArray& b, int offset, std::uint32_t value) { le::PutU16(b, offset, std::uint16_t(value & 0xFFFF)); }
void PutU32(QByteArray& b, int offset, std::uint32_t value) { le::PutU32(b, offset, value); }

// Truncation and rounding that stay defined for any double a file may carry: NaN gives 0,
// values beyond 64 bits saturate before the low bits are taken.
std::int64_t TruncateToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(value);
}
std::int64_t RoundHalfAwayFromZero(double value)
{
    if (std::isnan(value) || std::fabs(value) >= 9.2e18)
        return TruncateToInt64(value);
    return std::llround(value);
}

// Block order of the eight deviation limits (ii_max_up, ii_normal_up, ii_max_down,
// ii_normal_down, i_max_up, i_normal_up, i_max_down, i_normal_down) as order of each set;
// the two sets keep i_normal_up and ii_normal_down in swapped order.
constexpr int kPhaseSlots[8] = {0, 4, 2, 5, 1, 6, 3, 7};
constexpr int kLineSlots[8] = {0, 4, 2, 6, 1, 5, 3, 7};

constexpr int kPhaseBase = 0;
constexpr int kLineBase = 58;
constexpr int kFlickerOffset = 116;

void EncodeLimitSet(QByteArray& b, int base, double nominal, const VoltageLimitSet& set, const int* order)
{
    PutU32(b, base, VoltageToMillivolts(nominal));
    for (int i = 0; i < 8; ++i) {
        PutU16(b, base + 4 + 2 * i, PercentToHundredths(set.dev[order[i]][VoltageLimitSet::steady]));
        PutU16(b, base + 26 + 2 * i, PercentToHundredths(set.dev[order[i]][VoltageLimitSet::signal]));
        PutU16(b, base + 42 + 2 * i, PercentToHundredths(set.dev[order[i]][VoltageLimitSet::plusminus]));
    }
    PutU16(b, base + 20, PercentToHundredths(set.dip_level));
    PutU16(b, base + 22, PercentToHundredths(set.swell_level));
    PutU16(b, base + 24, PercentToHundredths(set.interruption_level));
}

void DecodeLimitSet(QByteArrayView b, int base, double& nominal, VoltageLimitSet& set, const int* order)
{
    nominal = VoltageFromMillivolts(U32(b, base));
    for (int i = 0; i < 8; ++i) {
        set.dev[order[i]][VoltageLimitSet::steady] = PercentFromHundredths(I16(b, base + 4 + 2 * i));
        set.dev[order[i]][VoltageLimitSet::signal] = PercentFromHundredths(I16(b, base + 26 + 2 * i));
        set.dev[order[i]][VoltageLimitSet::plusminus] = PercentFromHundredths(I16(b, base + 42 + 2 * i));
    }
    set.dip_level = PercentFromHundredths(I16(b, base + 20));
    set.swell_level = PercentFromHundredths(I16(b, base + 22));
    set.interruption_level = PercentFromHundredths(I16(b, base + 24));
}

template <std::size_t N>
void EncodeTable(QByteArray& b, int offset, const std::array<quint16, N>& table)
{
    for (std::size_t i = 0; i < N; ++i)
        PutU16(b, offset + 2 * int(i), table[i]);
}

template <std::size_t N>
void DecodeTable(QByteArrayView b, int offset, std::array<quint16, N>& table)
{
    for (std::size_t i = 0; i < N; ++i)
        table[i] = U16(b, offset + 2 * int(i));
}

} // namespace

double VoltageFromMillivolts(std::uint32_t millivolts)
{
    return double(float(millivolts) / 1000.0f);
}

std::uint32_t VoltageToMillivolts(double volts)
{
    // A voltage read from the meter went through single precision (381051 mV reads as
    // 381.050994...); truncating it would write back one millivolt less on every read and
    // write. A value within single precision of a whole millivolt is that millivolt; any
    // other value is truncated toward zero.
    const double millivolts = volts * 1000.0;
    if (std::isfinite(millivolts)) {
        const double nearest = std::round(millivolts);
        if (std::fabs(millivolts - nearest) <= std::fabs(nearest) * std::ldexp(1.0, -23))
            return std::uint32_t(std::uint64_t(TruncateToInt64(nearest)));
    }
    return std::uint32_t(std::uint64_t(TruncateToInt64(millivolts)));
}

double PercentFromHundredths(int hundredths)
{
    return double(float(hundredths) / 100.0f);
}

std::uint16_t PercentToHundredths(double percent)
{
    return std::uint16_t(std::uint64_t(RoundHalfAwayFromZero(percent * 100.0)) & 0xFFFF);
}

float RvcThresholdFromByte(std::uint8_t value) { return float(value) / 10.0f; }

std::uint8_t RvcThresholdToByte(float percent)
{
    const float scaled = percent * 10.0f;
    if (std::isnan(scaled) || std::fabs(scaled) >= 9.2e18f)
        return std::uint8_t(std::uint64_t(TruncateToInt64(scaled)) & 0xFF);
    return std::uint8_t(std::uint64_t(std::llroundf(scaled)) & 0xFF);
}

float RvcHysteresisFromByte(std::uint8_t value) { return float(value); }

std::uint8_t RvcHysteresisToByte(float percent)
{
    return std::uint8_t(std::uint64_t(TruncateToInt64(percent)) & 0xFF);
}

QByteArray EncodeTimeBlock(const ConfigModel& m)
{
    QByteArray b(kTimeBlockSize, '\0');
    for (int i = 0; i < kLoadPeriodBoundaries; ++i) {
        PutU8(b, 2 * i, std::uint32_t(m.load_period_minute[i]));
        PutU8(b, 2 * i + 1, std::uint32_t(m.load_period_hour[i]));
    }
    PutU8(b, 16, std::uint32_t(m.winter_day));
    PutU8(b, 17, std::uint32_t(m.winter_month));
    PutU8(b, 18, std::uint32_t(m.summer_day));
    PutU8(b, 19, std::uint32_t(m.summer_month));
    PutU8(b, 20, std::uint32_t(m.week_start_day));
    PutU8(b, 21, std::uint32_t(m.day_start_hour));
    PutU8(b, 22, m.time_zone);
    // The meter keeps "change by hand" flags, the model "change automatically".
    PutU8(b, 23, m.summer_auto == 0 ? 1 : 0);
    PutU8(b, 24, m.winter_auto == 0 ? 1 : 0);
    PutU8(b, 25, m.dst_mode);
    PutU8(b, 26, m.calc_opt_a);
    PutU8(b, 27, m.calc_opt_b);
    return b;
}

void DecodeTimeBlock(QByteArrayView b, ConfigModel& m)
{
    for (int i = 0; i < kLoadPeriodBoundaries; ++i) {
        m.load_period_minute[i] = U8(b, 2 * i);
        m.load_period_hour[i] = U8(b, 2 * i + 1);
    }
    m.winter_day = U8(b, 16);
    m.winter_month = U8(b, 17);
    m.summer_day = U8(b, 18);
    m.summer_month = U8(b, 19);
    m.week_start_day = U8(b, 20);
    m.day_start_hour = U8(b, 21);
    m.time_zone = U8(b, 22);
    m.summer_auto = U8(b, 23) == 0 ? 1 : 0;
    m.winter_auto = U8(b, 24) == 0 ? 1 : 0;
    m.dst_mode = U8(b, 25);
    m.calc_opt_a = U8(b, 26);
    m.calc_opt_b = U8(b, 27);
}

QByteArray EncodeVoltageBlock(const ConfigModel& m)
{
    QByteArray b(kVoltageBlockSize, '\0');
    EncodeLimitSet(b, kPhaseBase, m.u_nom_phase, m.phase_limits, kPhaseSlots);
    EncodeLimitSet(b, kLineBase, m.u_nom_line, m.line_limits, kLineSlots);
    PutU16(b, kFlickerOffset, PercentToHundredths(m.pst_normal));
    PutU16(b, kFlickerOffset + 2, PercentToHundredths(m.pst_max));
    PutU16(b, kFlickerOffset + 4, PercentToHundredths(m.plt_normal));
    PutU16(b, kFlickerOffset + 6, PercentToHundredths(m.plt_max));
    PutU8(b, 124, std::uint32_t(m.wiring_scheme));
    PutU8(b, 125, std::uint32_t(m.input_type));
    PutU8(b, 126, std::uint32_t(m.ratio_index));
    PutU8(b, 127, m.reference_nominal ? 1 : 0);
    return b;
}

void DecodeVoltageBlock(QByteArrayView b, ConfigModel& m)
{
    DecodeLimitSet(b, kPhaseBase, m.u_nom_phase, m.phase_limits, kPhaseSlots);
    DecodeLimitSet(b, kLineBase, m.u_nom_line, m.line_limits, kLineSlots);
    m.pst_normal = PercentFromHundredths(U16(b, kFlickerOffset));
    m.pst_max = PercentFromHundredths(U16(b, kFlickerOffset + 2));
    m.plt_normal = PercentFromHundredths(U16(b, kFlickerOffset + 4));
    m.plt_max = PercentFromHundredths(U16(b, kFlickerOffset + 6));
    m.wiring_scheme = U8(b, 124) != 0 ? 1 : 0;
    m.input_type = U8(b, 125);
    m.ratio_index = U8(b, 126);
    m.reference_nominal = U8(b, 127) != 0;
}

QByteArray EncodeFrequencyBlock(const ConfigModel& m)
{
    QByteArray b(kFrequencyBlockSize, '\0');
    PutU16(b, 0, m.f_nom);
    PutU16(b, 2, std::uint16_t(m.df_max_up));
    PutU16(b, 4, std::uint16_t(m.df_normal_up));
    PutU16(b, 6, std::uint16_t(m.df_normal_down));
    PutU16(b, 8, std::uint16_t(m.df_max_down));
    return b;
}

void DecodeFrequencyBlock(QByteArrayView b, ConfigModel& m)
{
    m.f_nom = U16(b, 0);
    m.df_max_up = I16(b, 2);
    m.df_normal_up = I16(b, 4);
    m.df_normal_down = I16(b, 6);
    m.df_max_down = I16(b, 8);
}

QByteArray EncodeUnbalanceBlock(const ConfigModel& m)
{
    QByteArray b(kUnbalanceBlockSize, '\0');
    PutU16(b, 0, m.k0u_max);
    PutU16(b, 2, m.k0u_normal);
    PutU16(b, 4, m.k2u_max);
    PutU16(b, 6, m.k2u_normal);
    return b;
}

void DecodeUnbalanceBlock(QByteArrayView b, ConfigModel& m)
{
    m.k0u_max = U16(b, 0);
    m.k0u_normal = U16(b, 2);
    m.k2u_max = U16(b, 4);
    m.k2u_normal = U16(b, 6);
}

QByteArray EncodeHarmonicsBlock(const ConfigModel& m)
{
    QByteArray b(kHarmonicsBlockSize, '\0');
    PutU16(b, 0, m.ku_max);
    EncodeTable(b, 2, m.harm_max);
    PutU16(b, 100, m.ku_normal);
    EncodeTable(b, 102, m.harm_normal);
    return b;
}

void DecodeHarmonicsBlock(QByteArrayView b, ConfigModel& m)
{
    m.ku_max = U16(b, 0);
    DecodeTable(b, 2, m.harm_max);
    m.ku_normal = U16(b, 100);
    DecodeTable(b, 102, m.harm_normal);
}

QByteArray EncodeInterharmonicsBlock(const ConfigModel& m)
{
    QByteArray b(kInterharmonicsBlockSize, '\0');
    EncodeTable(b, 0, m.iharm_max);
    EncodeTable(b, 98, m.iharm_normal);
    return b;
}

void DecodeInterharmonicsBlock(QByteArrayView b, ConfigModel& m)
{
    DecodeTable(b, 0, m.iharm_max);
    DecodeTable(b, 98, m.iharm_normal);
}

QByteArray EncodeCalculationBlock(const ConfigModel& m)
{
    QByteArray b(kCalculationBlockSize, '\0');
    PutU16(b, 0, m.calc_flags);
    for (int i = 0; i < kCalcChoiceCount; ++i)
        PutU8(b, 2 + i, m.calc_choice[i]);
    return b;
}

void DecodeCalculationBlock(QByteArrayView b, ConfigModel& m)
{
    m.calc_flags = U16(b, 0);
    for (int i = 0; i < kCalcChoiceCount; ++i)
        m.calc_choice[i] = U8(b, 2 + i);
}

QByteArray EncodeAveragingBlock(const ConfigModel& m)
{
    QByteArray b(kAveragingBlockSize, '\0');
    PutU16(b, 0, m.f_avg_period == 0 ? 10 : 20);
    return b;
}

void DecodeAveragingBlock(QByteArrayView b, ConfigModel& m)
{
    const std::uint16_t seconds = U16(b, 0);
    if (seconds == 10)
        m.f_avg_period = 0;
    else if (seconds == 20)
        m.f_avg_period = 1;
}

int DeviceModeFromByte(std::uint8_t modeByte)
{
    switch (modeByte) {
    case kModeStop: return kDeviceModeStop;
    case kModeRunning: return kDeviceModeStart;
    case kModeReset: return kDeviceModeReset;
    case kModeCalibration: return 3;
    case kModeVerification: return 4;
    default: return -1;
    }
}

std::uint8_t ModeCodeFor(int deviceMode)
{
    switch (deviceMode) {
    case kDeviceModeStart: return kModeRunning;
    case kDeviceModeReset: return kModeReset;
    case 4: return kModeVerification;
    // Stop, calibration (the program never starts a calibration) and any value a file
    // may carry beyond the list: stop, the one mode that changes nothing in the meter.
    default: return kModeStop;
    }
}

void DecodeClockBlock(QByteArrayView b, ConfigModel& m, bool withMode)
{
    m.set_day = U8(b, 0);
    m.set_month = U8(b, 1);
    m.set_year = U8(b, 2) + 2000;
    m.set_hour = U8(b, 3);
    m.set_minute = U8(b, 4);
    m.set_second = U8(b, 5);
    if (withMode) {
        const int mode = DeviceModeFromByte(U8(b, kClockModeOffset));
        if (mode >= 0)
            m.device_mode = mode;
    }
}

QByteArray EncodeClockSetBlock(int year, int month, int day, int hour, int minute, int second)
{
    // The meter counts years from 2000 in one byte: a year outside 2000..2255 is sent as
    // the nearest one it can hold rather than as an unrelated year.
    const int yearByte = std::clamp(year - 2000, 0, 255);
    QByteArray b(kClockSetBlockSize, '\0');
    PutU8(b, 0, std::uint32_t(day));
    PutU8(b, 1, std::uint32_t(month));
    PutU8(b, 2, std::uint32_t(yearByte));
    PutU8(b, 3, std::uint32_t(hour));
    PutU8(b, 4, std::uint32_t(minute));
    PutU8(b, 5, std::uint32_t(second));
    return b;
}

QByteArray EncodeClockSetBlock(const ConfigModel& m)
{
    return EncodeClockSetBlock(m.set_year, m.set_month, m.set_day, m.set_hour, m.set_minute, m.set_second);
}

QByteArray EncodeClockSetBlock(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime c = t.time();
    return EncodeClockSetBlock(d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second());
}

void DecodeCorrectionBlock(QByteArrayView b, ConfigModel& m)
{
    m.auto_correction_s = std::int8_t(U8(b, 0));
    m.soft_correction_s = std::int8_t(U8(b, 1));
}

QByteArray EncodeAutoCorrectionBlock(const ConfigModel& m)
{
    return QByteArray(1, char(m.auto_correction_s & 0xFF));
}

QByteArray EncodeSoftCorrectionBlock(const ConfigModel& m)
{
    return QByteArray(1, char(m.soft_correction_s & 0xFF));
}

QByteArray EncodeInterfacesBlock(const ConfigModel& m)
{
    const qint32 fields[kInterfacesBlockSize] = {m.rs232_mode_ext, m.rs232_mode, m.rs232_baud, m.modem_rings,
                                                 m.sys_byte4, m.rs485_mode, m.rs485_baud};
    QByteArray b(kInterfacesBlockSize, '\0');
    for (int i = 0; i < kInterfacesBlockSize; ++i)
        PutU8(b, i, std::uint32_t(fields[i]));
    return b;
}

void DecodeInterfacesBlock(QByteArrayView b, ConfigModel& m)
{
    qint32* fields[kInterfacesBlockSize] = {&m.rs232_mode_ext, &m.rs232_mode, &m.rs232_baud, &m.modem_rings,
                                            &m.sys_byte4, &m.rs485_mode, &m.rs485_baud};
    for (int i = 0; i < kInterfacesBlockSize; ++i)
        *fields[i] = U8(b, i);
}

QByteArray EncodeRvcBlock(const ConfigModel& m)
{
    QByteArray b(kRvcBlockSize, '\0');
    PutU8(b, 0, RvcThresholdToByte(m.rvc_threshold_phase));
    PutU8(b, 1, RvcThresholdToByte(m.rvc_threshold_line));
    PutU8(b, 2, RvcHysteresisToByte(m.rvc_hysteresis_phase));
    PutU8(b, 3, RvcHysteresisToByte(m.rvc_hysteresis_line));
    return b;
}

void DecodeRvcBlock(QByteArrayView b, ConfigModel& m)
{
    m.rvc_threshold_phase = RvcThresholdFromByte(U8(b, 0));
    m.rvc_threshold_line = RvcThresholdFromByte(U8(b, 1));
    m.rvc_hysteresis_phase = RvcHysteresisFromByte(U8(b, 2));
    m.rvc_hysteresis_line = RvcHysteresisFromByte(U8(b, 3));
}

void ApplyRvcDefaults(ConfigModel& m)
{
    m.rvc_threshold_phase = 2.0f;
    m.rvc_hysteresis_phase = 50.0f;
    m.rvc_threshold_line = 2.0f;
    m.rvc_hysteresis_line = 50.0f;
}

QByteArray EncodeAddressBlock(std::uint16_t address)
{
    QByteArray b(kAddressBlockSize, '\0');
    PutU16(b, 0, address);
    return b;
}

} // namespace setpoints
