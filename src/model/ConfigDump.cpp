#include "ConfigDump.h"

#include "common/Cp1251.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace {

template <class T>
QByteArray Number(T value)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value))
            return "null";
        // std::to_chars without a precision gives the shortest text that reads back to the
        // same value of T: float and double each in their own precision.
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return QByteArray(buffer, qsizetype(result.ptr - buffer));
    } else if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else {
        return QByteArray::number(qint64(value));
    }
}

QByteArray Text(const QByteArray& cp1251Bytes)
{
    const QString text = cp1251::Decode(cp1251Bytes);
    QByteArray out = "\"";
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            if (c < 0x20)
                out += "\\u" + QByteArray::number(int(c), 16).rightJustified(4, '0');
            else
                out += QString(ch).toUtf8();
        }
    }
    return out + '"';
}

template <class Container>
QByteArray Array(const Container& values)
{
    QByteArray out = "[";
    bool first = true;
    for (const auto& value : values) {
        if (!first)
            out += ", ";
        first = false;
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QByteArray>)
            out += Text(value);
        else
            out += Number(value);
    }
    return out + ']';
}

template <size_t N>
QByteArray Hex(const std::array<quint8, N>& raw)
{
    return '"' + QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(N)).toHex() + '"';
}

QByteArray LimitSet(const VoltageLimitSet& set)
{
    QByteArray dev = "[";
    for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
        dev += (slot ? ", " : "") + Array(set.dev[size_t(slot)]);
    dev += ']';
    return "{\"dip_level\": " + Number(set.dip_level) + ", \"swell_level\": " + Number(set.swell_level)
        + ", \"interruption_level\": " + Number(set.interruption_level) + ", \"dev\": " + dev + '}';
}

class JsonObject {
public:
    JsonObject& Add(const char* key, const QByteArray& json)
    {
        m_text += (m_text.isEmpty() ? "{\n  \"" : ",\n  \"") + QByteArray(key) + "\": " + json;
        return *this;
    }
    template <class T>
        requires std::is_arithmetic_v<T>
    JsonObject& Add(const char* key, T value) { return Add(key, Number(value)); }

    QByteArray Finish() const { return m_text + "\n}\n"; }

private:
    QByteArray m_text;
};

} // namespace

QByteArray ConfigToJson(const ConfigModel& m)
{
    JsonObject o;
    o.Add("connection_address", m.connection_address)
        .Add("modification", Text(m.modification))
        .Add("firmware_version", Text(m.firmware_version))
        .Add("u_nom_phase", m.u_nom_phase)
        .Add("u_nom_line", m.u_nom_line)
        .Add("ratio_index", m.ratio_index)
        .Add("wiring_scheme", m.wiring_scheme)
        .Add("input_type", m.input_type)
        .Add("reference_nominal", m.reference_nominal)
        .Add("line_limits", LimitSet(m.line_limits))
        .Add("phase_limits", LimitSet(m.phase_limits))
        .Add("ku_max", m.ku_max)
        .Add("ku_normal", m.ku_normal)
        .Add("k2u_max", m.k2u_max)
        .Add("k2u_normal", m.k2u_normal)
        .Add("k0u_max", m.k0u_max)
        .Add("k0u_normal", m.k0u_normal)
        .Add("harm_normal", Array(m.harm_normal))
        .Add("harm_max", Array(m.harm_max))
        .Add("iharm_normal", Array(m.iharm_normal))
        .Add("iharm_max", Array(m.iharm_max))
        .Add("coeff_auto", m.coeff_auto)
        .Add("f_nom", m.f_nom)
        .Add("df_max_up", m.df_max_up)
        .Add("df_normal_up", m.df_normal_up)
        .Add("df_max_down", m.df_max_down)
        .Add("df_normal_down", m.df_normal_down)
        .Add("pst_max", m.pst_max)
        .Add("pst_normal", m.pst_normal)
        .Add("plt_max", m.plt_max)
        .Add("plt_normal", m.plt_normal)
        .Add("summer_month", m.summer_month)
        .Add("summer_day", m.summer_day)
        .Add("set_year", m.set_year)
        .Add("set_month", m.set_month)
        .Add("set_day", m.set_day)
        .Add("set_second", m.set_second)
        .Add("set_minute", m.set_minute)
        .Add("set_hour", m.set_hour)
        .Add("load_period_minute", Array(m.load_period_minute))
        .Add("load_period_hour", Array(m.load_period_hour))
        .Add("winter_month", m.winter_month)
        .Add("winter_day", m.winter_day)
        .Add("auto_correction_s", m.auto_correction_s)
        .Add("soft_correction_s", m.soft_correction_s)
        .Add("week_start_day", m.week_start_day)
        .Add("day_start_hour", m.day_start_hour)
        .Add("time_zone", m.time_zone)
        .Add("summer_auto", m.summer_auto)
        .Add("winter_auto", m.winter_auto)
        .Add("dst_mode", m.dst_mode)
        .Add("use_pc_time", m.use_pc_time)
        .Add("write_time", m.write_time)
        .Add("clear_archive_three_wire", m.clear_archive_three_wire)
        .Add("device_mode", m.device_mode)
        .Add("rs232_mode_ext", m.rs232_mode_ext)
        .Add("rs232_mode", m.rs232_mode)
        .Add("rs232_baud", m.rs232_baud)
        .Add("modem_rings", m.modem_rings)
        .Add("sys_byte4", m.sys_byte4)
        .Add("rs485_mode", m.rs485_mode)
        .Add("rs485_baud", m.rs485_baud)
        .Add("calc_opt_a", m.calc_opt_a)
        .Add("calc_opt_b", m.calc_opt_b)
        .Add("groups", '"' + GroupsToBytes(m.groups).toHex() + '"')
        .Add("archive_mask", Hex(m.archive_mask))
        .Add("pulse_rules_text", Text(m.pulse_rules_text))
        .Add("deviation_limits", Hex(m.deviation_limits))
        .Add("gprs_wait_a", Array(m.gprs_wait_a))
        .Add("gprs_wait_b", Array(m.gprs_wait_b))
        .Add("gprs_apn", Array(m.gprs_apn))
        .Add("gprs_extra", Array(m.gprs_extra))
        .Add("device_address", m.device_address)
        .Add("identity_block", Hex(m.identity_block))
        .Add("calc_flags", m.calc_flags)
        .Add("calc_choice", Array(m.calc_choice))
        .Add("calc_spare", m.calc_spare)
        .Add("rvc_threshold_phase", m.rvc_threshold_phase)
        .Add("rvc_hysteresis_phase", m.rvc_hysteresis_phase)
        .Add("rvc_threshold_line", m.rvc_threshold_line)
        .Add("rvc_hysteresis_line", m.rvc_hysteresis_line)
        .Add("f_avg_period", m.f_avg_period);
    return o.Finish();
}
