#include "ConfigModel.h"

#include "common/Cp1251.h"

#include <QDate>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

// harm_normal of a new configuration for orders 2..40; orders 41..50 are 0.
constexpr std::array<quint16, 39> kDefaultHarmNormal = {
    200, 500, 100, 600, 50, 500, 50, 150, 50, 350,   // 2..11
    20, 300, 20, 30, 20, 200, 20, 150, 20, 20,       // 12..21
    20, 150, 20, 150, 20, 20, 20, 150, 20, 150,      // 22..31
    20, 20, 20, 150, 20, 150, 20, 20, 20,            // 32..40
};

void SetLimitSet(VoltageLimitSet& set, std::initializer_list<double> steadyAndSignal)
{
    // Column 2 holds magnitudes: 10 for the four maximum slots, 5 for the four normal ones.
    set.dip_level = -10.0;
    set.swell_level = 10.0;
    set.interruption_level = -95.0;
    int slot = 0;
    for (double value : steadyAndSignal) {
        set.dev[size_t(slot)][VoltageLimitSet::steady] = value;
        set.dev[size_t(slot)][VoltageLimitSet::signal] = value;
        set.dev[size_t(slot)][VoltageLimitSet::plusminus] = slot < 4 ? 10.0 : 5.0;
        ++slot;
    }
}

// The entries of a default group: a code on all six phases, or a single code on phase 0.
struct GroupEntries {
    QList<ParameterId> ids;
    GroupEntries& AllPhases(quint16 code)
    {
        for (int phase = 0; phase < kPhaseCount; ++phase)
            ids.append(ParameterId{code, quint8(phase), 0});
        return *this;
    }
    GroupEntries& Single(quint16 code)
    {
        ids.append(ParameterId{code, 0, 0});
        return *this;
    }
};

// A fresh record: name bytes after the zero byte and entries beyond the count are zero.
ParameterGroupRecord MakeGroup(const QString& name, const QList<ParameterId>& ids)
{
    ParameterGroupRecord group;
    group.SetNameText(cp1251::Encode(name));
    group.count = quint16(ids.size());
    for (int i = 0; i < ids.size(); ++i)
        group.parameters[size_t(i)] = ids[i];
    return group;
}

} // namespace

QByteArray ParameterGroupRecord::NameText() const
{
    const auto* begin = reinterpret_cast<const char*>(name.data());
    return QByteArray(begin, int(qstrnlen(begin, kNameSize - 1)));
}

void ParameterGroupRecord::SetNameText(const QByteArray& text)
{
    name.fill(0);
    std::memcpy(name.data(), text.constData(), size_t(qMin<qsizetype>(text.size(), kNameSize - 1)));
}

QByteArray ParameterGroupRecord::ToBytes() const
{
    QByteArray out(kSize, '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint16>(count, p);
    std::memcpy(p + 2, name.data(), kNameSize);
    for (int i = 0; i < kMaxParameters; ++i)
        qToLittleEndian<quint32>(parameters[size_t(i)].ToUInt32(), p + 2 + kNameSize + 4 * i);
    return out;
}

ParameterGroupRecord ParameterGroupRecord::FromBytes(QByteArrayView bytes)
{
    QByteArray record = bytes.first(qMin<qsizetype>(bytes.size(), kSize)).toByteArray();
    record.resize(kSize, '\0');
    ParameterGroupRecord group;
    const auto* p = reinterpret_cast<const uchar*>(record.constData());
    group.count = qFromLittleEndian<quint16>(p);
    std::memcpy(group.name.data(), p + 2, kNameSize);
    for (int i = 0; i < kMaxParameters; ++i)
        group.parameters[size_t(i)] = ParameterId::FromUInt32(qFromLittleEndian<quint32>(p + 2 + kNameSize + 4 * i));
    return group;
}

QByteArray GroupsToBytes(const std::array<ParameterGroupRecord, kGroupCount>& groups)
{
    QByteArray out;
    out.reserve(kGroupsBlockSize);
    for (const ParameterGroupRecord& group : groups)
        out += group.ToBytes();
    return out;
}

std::array<ParameterGroupRecord, kGroupCount> GroupsFromBytes(QByteArrayView bytes)
{
    std::array<ParameterGroupRecord, kGroupCount> groups;
    for (int g = 0; g < kGroupCount; ++g) {
        const qsizetype start = qMin<qsizetype>(g * ParameterGroupRecord::kSize, bytes.size());
        groups[size_t(g)] = ParameterGroupRecord::FromBytes(bytes.sliced(start));
    }
    return groups;
}

int CurrentLocalYear()
{
    const QDate today = QDate::currentDate();
    return today.isValid() ? today.year() : 0;
}

void ApplyGprsDefaults(ConfigModel& model)
{
    for (int p = 0; p < kGprsProfiles; ++p) {
        model.gprs_wait_a[size_t(p)] = 15;
        model.gprs_wait_b[size_t(p)] = 15;
        model.gprs_apn[size_t(p)] = QByteArray(kDefaultGprsApn);
        model.gprs_extra[size_t(p)].clear();
    }
}

void ApplyNewDocumentDefaults(ConfigModel& model, int localYear)
{
    ConfigModel& m = model;
    m.connection_address = 0;
    m.modification.clear();
    m.firmware_version.clear();

    m.u_nom_phase = 220.0;
    // The root of 3 is taken in single precision, as configurations have always been made,
    // so a new one holds 381.05117082595825 rather than the double-precision product.
    m.u_nom_line = double(float(std::sqrt(3.0))) * 220.0;
    m.ratio_index = 0;
    m.wiring_scheme = 1;
    m.input_type = 0;
    SetLimitSet(m.line_limits, {10, 10, -10, -10, 5, 5, -5, -5});
    SetLimitSet(m.phase_limits, {10, 10, -10, -10, 5, -5, 5, -5});

    m.ku_max = 1200;
    m.ku_normal = 800;
    m.k2u_max = 400;
    m.k2u_normal = 200;
    m.k0u_max = 400;
    m.k0u_normal = 200;
    m.harm_normal.fill(0);
    std::copy(kDefaultHarmNormal.begin(), kDefaultHarmNormal.end(), m.harm_normal.begin());
    for (int i = 0; i < kHarmonicCount; ++i)
        m.harm_max[size_t(i)] = quint16(float(m.harm_normal[size_t(i)]) * 1.5f);
    m.iharm_normal.fill(0);
    m.iharm_max.fill(0);
    m.coeff_auto = 1;

    m.f_nom = 50000;
    m.df_max_up = 40;
    m.df_normal_up = 20;
    m.df_max_down = -40;
    m.df_normal_down = -20;

    m.pst_max = 1.38;
    m.pst_normal = 1.38;
    m.plt_max = 1.0;
    m.plt_normal = 1.0;

    m.summer_month = 1;
    m.summer_day = 1;
    m.set_year = localYear;
    m.set_month = 1;
    m.set_day = 1;
    m.set_second = 0;
    m.set_minute = 0;
    m.set_hour = 0;
    m.load_period_minute.fill(0);
    m.load_period_hour.fill(0);
    m.winter_month = 1;
    m.winter_day = 1;
    m.auto_correction_s = 0;
    m.soft_correction_s = 0;
    m.week_start_day = 1;
    m.day_start_hour = 0;
    m.summer_auto = 1;
    m.winter_auto = 1;
    m.use_pc_time = 0;
    m.write_time = 0;

    m.clear_archive_three_wire = 1;

    m.rs232_mode_ext = 0;
    m.rs232_mode = 0;
    m.rs232_baud = 11;
    m.modem_rings = 0;
    m.sys_byte4 = 1;
    m.rs485_mode = 0;
    m.rs485_baud = 11;
    m.device_mode = 1;

    m.calc_opt_a = 1;
    m.calc_opt_b = 1;

    m.groups[0] = MakeGroup(QStringLiteral("Напряжение"),
                            GroupEntries().AllPhases(114).AllPhases(115).Single(116).Single(117).Single(118).Single(106).ids);
    m.groups[1] = MakeGroup(QStringLiteral("ПКЭ"),
                            GroupEntries().AllPhases(0).AllPhases(1).AllPhases(2).AllPhases(3)
                                .Single(4).Single(5).Single(6).AllPhases(7).Single(107).ids);
    m.groups[2] = MakeGroup(QStringLiteral("Гармоники"),
                            GroupEntries().AllPhases(9).AllPhases(11).AllPhases(13).AllPhases(15).ids);
    m.groups[3] = MakeGroup(QStringLiteral("Интергармоники"),
                            GroupEntries().AllPhases(57).AllPhases(59).AllPhases(61).AllPhases(63).ids);
    m.groups[4] = MakeGroup(QStringLiteral("Группа 5"), {});
    m.groups[5] = MakeGroup(QStringLiteral("Группа 6"), {});
    m.archive_mask.fill(0xFF);

    m.calc_flags = 0;
    m.calc_choice.fill(2);

    m.pulse_rules_text.clear();
    m.deviation_limits.fill(0xFF);

    ApplyGprsDefaults(m);

    m.reference_nominal = true;
    m.device_address = 0;
    // A new configuration carries no pending request to re-address the meter.
    m.address_write_flag = 0;

    m.rvc_threshold_phase = 2.0f;
    m.rvc_hysteresis_phase = 50.0f;
    m.rvc_threshold_line = 2.0f;
    m.rvc_hysteresis_line = 50.0f;

    m.f_avg_period = 0;
}

void ApplyNewDocumentDefaults(ConfigModel& model)
{
    ApplyNewDocumentDefaults(model, CurrentLocalYear());
}

ConfigModel NewConfigModel()
{
    ConfigModel model;
    ApplyNewDocumentDefaults(model);
    return model;
}
