#include "ConfigFields.h"

#include <type_traits>

namespace {

// What a member's C++ type says about its row.
template <class T>
struct Traits;
template <> struct Traits<qint32> { static constexpr FieldType type = FieldType::I32; };
template <> struct Traits<qint16> { static constexpr FieldType type = FieldType::I16; };
template <> struct Traits<quint16> { static constexpr FieldType type = FieldType::U16; };
template <> struct Traits<quint8> { static constexpr FieldType type = FieldType::U8; };
template <> struct Traits<bool> { static constexpr FieldType type = FieldType::Bool; };
template <> struct Traits<float> { static constexpr FieldType type = FieldType::F32; };
template <> struct Traits<double> { static constexpr FieldType type = FieldType::F64; };
template <> struct Traits<QByteArray> { static constexpr FieldType type = FieldType::Text; };
template <> struct Traits<VoltageLimitSet> { static constexpr FieldType type = FieldType::LimitSet; };
template <> struct Traits<std::array<ParameterGroupRecord, kGroupCount>> {
    static constexpr FieldType type = FieldType::Groups;
};

template <class T>
struct Shape {
    static constexpr bool array = false;
    static constexpr int count = 1;
    using Element = T;
};
template <class T, size_t N>
    requires(!std::is_same_v<T, ParameterGroupRecord>)
struct Shape<std::array<T, N>> {
    static constexpr bool array = true;
    static constexpr int count = int(N);
    using Element = T;
};

template <class T>
T MemberType(T ConfigModel::*);

template <auto Member>
void* Address(ConfigModel& m)
{
    auto& value = m.*Member;
    if constexpr (Shape<std::remove_reference_t<decltype(value)>>::array)
        return value.data();
    else
        return &value;
}

struct Options {
    int interleave = 1;
    double min = -ConfigField::kNoLimit;
    double max = ConfigField::kNoLimit;
    int maxLength = 0;
};

template <auto Member>
constexpr ConfigField Row(const char* name, FileSection section, Options o = {})
{
    using T = decltype(MemberType(Member));
    using S = Shape<T>;
    return {name, Traits<typename S::Element>::type, section, S::array, S::count,
            o.interleave, o.min, o.max, o.maxLength, &Address<Member>};
}

// A byte array that is one opaque section, not a list of numbers.
template <auto Member>
constexpr ConfigField RawRow(const char* name, FileSection section)
{
    using T = decltype(MemberType(Member));
    static_assert(std::is_same_v<typename Shape<T>::Element, quint8>);
    return {name, FieldType::Raw, section, false, Shape<T>::count,
            1, -ConfigField::kNoLimit, ConfigField::kNoLimit, 0, &Address<Member>};
}

#define FIELD(member, section, ...) Row<&ConfigModel::member>(#member, FileSection::section, ##__VA_ARGS__)
#define RAW(member, section) RawRow<&ConfigModel::member>(#member, FileSection::section)

constexpr ConfigField kFields[] = {
    FIELD(connection_address, Main),
    FIELD(modification, Main),
    FIELD(firmware_version, Main),

    FIELD(u_nom_phase, Main),
    FIELD(u_nom_line, Main),
    FIELD(ratio_index, Main),
    FIELD(wiring_scheme, Main),
    FIELD(input_type, Main),
    FIELD(reference_nominal, Main),
    FIELD(line_limits, Main),
    FIELD(phase_limits, Main),

    FIELD(ku_max, Main),
    FIELD(ku_normal, Main),
    FIELD(k2u_max, Main),
    FIELD(k2u_normal, Main),
    FIELD(k0u_max, Main),
    FIELD(k0u_normal, Main),
    FIELD(harm_normal, Main, {.interleave = 4}),
    FIELD(harm_max, Main),
    FIELD(iharm_normal, Main),
    FIELD(iharm_max, Main),
    FIELD(coeff_auto, Main),

    FIELD(f_nom, Main),
    FIELD(df_max_up, Main),
    FIELD(df_normal_up, Main),
    FIELD(df_max_down, Main),
    FIELD(df_normal_down, Main),

    FIELD(pst_max, Main),
    FIELD(pst_normal, Main),
    FIELD(plt_max, Main),
    FIELD(plt_normal, Main),

    FIELD(summer_month, Main),
    FIELD(summer_day, Main),
    FIELD(set_year, Main),
    FIELD(set_month, Main),
    FIELD(set_day, Main),
    FIELD(set_second, Main),
    FIELD(set_minute, Main),
    FIELD(set_hour, Main),
    FIELD(load_period_minute, Main, {.interleave = 2}),
    FIELD(load_period_hour, Main),
    FIELD(winter_month, Main),
    FIELD(winter_day, Main),
    FIELD(auto_correction_s, Main, {.min = -8, .max = 8}),
    FIELD(soft_correction_s, Main, {.min = -20, .max = 20}),
    FIELD(week_start_day, Main),
    FIELD(day_start_hour, Main),
    FIELD(time_zone, Main),
    FIELD(summer_auto, Main),
    FIELD(winter_auto, Main),
    FIELD(dst_mode, Main),
    FIELD(use_pc_time, Main),
    FIELD(write_time, Main),
    FIELD(clear_archive_three_wire, Main),
    FIELD(device_mode, Main),

    FIELD(rs232_mode_ext, Main),
    FIELD(rs232_mode, Main),
    FIELD(rs232_baud, Main),
    FIELD(modem_rings, Main),
    FIELD(sys_byte4, Main),
    FIELD(rs485_mode, Main),
    FIELD(rs485_baud, Main),

    FIELD(calc_opt_a, Main),
    FIELD(calc_opt_b, Main),
    FIELD(groups, Main),
    RAW(archive_mask, Main),
    FIELD(pulse_rules_text, Main),
    RAW(deviation_limits, Main),

    // Profile by profile in the file.
    FIELD(gprs_wait_a, Gprs, {.interleave = 4}),
    FIELD(gprs_wait_b, Gprs),
    FIELD(gprs_apn, Gprs, {.maxLength = 50}),
    FIELD(gprs_extra, Gprs, {.maxLength = 45}),

    FIELD(device_address, Address, {.min = 1, .max = 65535}),
    RAW(identity_block, Address),

    FIELD(calc_flags, Calc),
    FIELD(calc_choice, Calc),
    FIELD(calc_spare, Calc),

    FIELD(rvc_threshold_phase, Tail, {.min = 1, .max = 60}),
    FIELD(rvc_hysteresis_phase, Tail, {.min = 20, .max = 80}),
    FIELD(rvc_threshold_line, Tail, {.min = 1, .max = 60}),
    FIELD(rvc_hysteresis_line, Tail, {.min = 20, .max = 80}),
    FIELD(f_avg_period, Tail),
};

#undef FIELD
#undef RAW

// The walkers rely on these: an interleaved run stays inside its section and its arrays have
// one length; sections follow each other in file order.
consteval bool WellFormed()
{
    const int n = int(std::size(kFields));
    for (int i = 0; i < n; ++i) {
        const ConfigField& f = kFields[i];
        if (i > 0 && f.section < kFields[i - 1].section)
            return false;
        if (f.interleave < 1 || i + f.interleave > n)
            return false;
        for (int k = 1; k < f.interleave; ++k) {
            const ConfigField& g = kFields[i + k];
            if (!f.array || !g.array || g.count != f.count || g.section != f.section || g.interleave != 1)
                return false;
        }
    }
    return true;
}
static_assert(WellFormed());

} // namespace

std::span<const ConfigField> ConfigFields()
{
    return kFields;
}

const ConfigField* FindConfigField(std::string_view name)
{
    for (const ConfigField& f : kFields)
        if (name == f.name)
            return &f;
    return nullptr;
}
