#include "ConfigFile.h"

#include "common/Cp1251.h"
#include "common/SaveFile.h"
#include "common/UserPrompt.h"

#include <QFile>
#include <QtEndian>

#include <cstring>
#include <type_traits>
#include <utility>

namespace {

// The file layout is written down once, as sections over an "io" that is either a reader
// (fields by non-const reference) or a writer (fields by const reference). Reading and
// writing therefore can never disagree on the order. The sections are split where reading
// treats an early end differently.

template <class Io, class Model>
void LimitSetFields(Io& io, Model& set)
{
    io.Field(set.dip_level);
    io.Field(set.swell_level);
    io.Field(set.interruption_level);
    // Column by column in the file, slot-major in memory.
    for (int column = 0; column < VoltageLimitSet::kColumns; ++column)
        for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
            io.Field(set.dev[size_t(slot)][size_t(column)]);
}

// From the start of the file up to and including deviation_limits.
template <class Io, class Model>
void MainSection(Io& io, Model& m)
{
    io.Field(m.connection_address);
    io.Field(m.modification);
    io.Field(m.firmware_version);

    io.Field(m.u_nom_phase);
    io.Field(m.u_nom_line);
    io.Field(m.ratio_index);
    io.Field(m.wiring_scheme);
    io.Field(m.input_type);
    io.Field(m.reference_nominal);
    LimitSetFields(io, m.line_limits);
    LimitSetFields(io, m.phase_limits);

    io.Field(m.ku_max);
    io.Field(m.ku_normal);
    io.Field(m.k2u_max);
    io.Field(m.k2u_normal);
    io.Field(m.k0u_max);
    io.Field(m.k0u_normal);
    for (size_t i = 0; i < kHarmonicCount; ++i) {
        io.Field(m.harm_normal[i]);
        io.Field(m.harm_max[i]);
        io.Field(m.iharm_normal[i]);
        io.Field(m.iharm_max[i]);
    }
    io.Field(m.coeff_auto);

    io.Field(m.f_nom);
    io.Field(m.df_max_up);
    io.Field(m.df_normal_up);
    io.Field(m.df_max_down);
    io.Field(m.df_normal_down);

    io.Field(m.pst_max);
    io.Field(m.pst_normal);
    io.Field(m.plt_max);
    io.Field(m.plt_normal);

    io.Field(m.summer_month);
    io.Field(m.summer_day);
    io.Field(m.set_year);
    io.Field(m.set_month);
    io.Field(m.set_day);
    io.Field(m.set_second);
    io.Field(m.set_minute);
    io.Field(m.set_hour);
    for (size_t i = 0; i < kLoadPeriodBoundaries; ++i) {
        io.Field(m.load_period_minute[i]);
        io.Field(m.load_period_hour[i]);
    }
    io.Field(m.winter_month);
    io.Field(m.winter_day);
    io.Field(m.auto_correction_s);
    io.Field(m.soft_correction_s);
    io.Field(m.week_start_day);
    io.Field(m.day_start_hour);
    io.Field(m.time_zone);
    io.Field(m.summer_auto);
    io.Field(m.winter_auto);
    io.Field(m.dst_mode);
    io.Field(m.use_pc_time);
    io.Field(m.write_time);
    io.Field(m.clear_archive_three_wire);
    io.Field(m.device_mode);

    io.Field(m.rs232_mode_ext);
    io.Field(m.rs232_mode);
    io.Field(m.rs232_baud);
    io.Field(m.modem_rings);
    io.Field(m.sys_byte4);
    io.Field(m.rs485_mode);
    io.Field(m.rs485_baud);

    io.Field(m.calc_opt_a);
    io.Field(m.calc_opt_b);
    io.Field(m.groups);
    io.Field(m.archive_mask);
    io.Field(m.pulse_rules_text);
    io.Field(m.deviation_limits);
}

template <class Io, class Model>
void GprsSection(Io& io, Model& m)
{
    for (size_t p = 0; p < kGprsProfiles; ++p) {
        io.Field(m.gprs_wait_a[p]);
        io.Field(m.gprs_wait_b[p]);
        io.Field(m.gprs_apn[p]);
        io.Field(m.gprs_extra[p]);
    }
}

template <class Io, class Model>
void AddressSection(Io& io, Model& m)
{
    io.Field(m.device_address);
    io.Field(m.identity_block);
}

constexpr qsizetype kCalcBlockSize = 12;

template <class Io, class Model>
void CalcSection(Io& io, Model& m)
{
    io.Field(m.calc_flags);
    io.Field(m.calc_choice);
    io.Field(m.calc_spare);
}

template <class Io, class Model>
void TailSection(Io& io, Model& m)
{
    io.Field(m.rvc_threshold_phase);
    io.Field(m.rvc_hysteresis_phase);
    io.Field(m.rvc_threshold_line);
    io.Field(m.rvc_hysteresis_line);
    io.Field(m.f_avg_period);
}

// Thrown by the reader when the bytes end before a field does (a length prefix that points
// past the end included).
struct EndOfData {};

class FieldWriter {
public:
    QByteArray bytes;

    template <class T>
        requires std::is_arithmetic_v<T>
    void Field(const T& value)
    {
        if constexpr (std::is_same_v<T, bool>) {
            bytes.append(value ? '\1' : '\0');
        } else {
            uchar raw[sizeof(T)];
            qToLittleEndian(value, raw);
            bytes.append(reinterpret_cast<const char*>(raw), sizeof(T));
        }
    }

    template <size_t N>
    void Field(const std::array<quint8, N>& raw)
    {
        bytes.append(reinterpret_cast<const char*>(raw.data()), qsizetype(N));
    }

    void Field(const std::array<ParameterGroupRecord, kGroupCount>& groups) { bytes += GroupsToBytes(groups); }

    // Always the 8-bit form with the shortest length prefix.
    void Field(const QByteArray& text)
    {
        const auto n = quint64(text.size());
        if (n < 0xFF) {
            Field(quint8(n));
        } else if (n < 0xFFFE) {
            Field(quint8(0xFF));
            Field(quint16(n));
        } else {
            Field(quint8(0xFF));
            Field(quint16(0xFFFF));
            Field(quint32(n));
        }
        bytes += text;
    }
};

class FieldReader {
public:
    explicit FieldReader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype Remaining() const { return m_bytes.size() - m_pos; }

    QByteArrayView Take(quint64 n)
    {
        if (n > quint64(Remaining()))
            throw EndOfData{};
        const QByteArrayView part = m_bytes.sliced(m_pos, qsizetype(n));
        m_pos += qsizetype(n);
        return part;
    }

    template <class T>
        requires std::is_arithmetic_v<T>
    void Field(T& value)
    {
        const QByteArrayView raw = Take(sizeof(T));
        if constexpr (std::is_same_v<T, bool>)
            value = raw[0] != 0;
        else
            value = qFromLittleEndian<T>(raw.data());
    }

    template <size_t N>
    void Field(std::array<quint8, N>& raw)
    {
        std::memcpy(raw.data(), Take(N).data(), N);
    }

    void Field(std::array<ParameterGroupRecord, kGroupCount>& groups) { groups = GroupsFromBytes(Take(kGroupsBlockSize)); }

    // The 8-bit form, or the 16-bit form after the marker FF FE FF, converted to cp1251.
    void Field(QByteArray& text)
    {
        bool wide = false;
        const quint64 n = Length(wide);
        if (!wide) {
            text = Take(n).toByteArray();
            return;
        }
        const QByteArrayView raw = Take(2 * n);
        QString unicode(qsizetype(n), Qt::Uninitialized);
        for (qsizetype i = 0; i < qsizetype(n); ++i)
            unicode[i] = QChar(qFromLittleEndian<quint16>(raw.data() + 2 * i));
        text = cp1251::Encode(unicode);
    }

private:
    quint8 U8() { quint8 v = 0; Field(v); return v; }
    quint16 U16() { quint16 v = 0; Field(v); return v; }
    quint32 U32() { quint32 v = 0; Field(v); return v; }

    quint64 Length(bool& wide)
    {
        quint8 shortLength = U8();
        if (shortLength < 0xFF)
            return shortLength;
        quint16 length = U16();
        if (length == 0xFFFE) {
            // 16-bit characters; the real length follows with the same rules.
            wide = true;
            shortLength = U8();
            if (shortLength < 0xFF)
                return shortLength;
            length = U16();
        }
        if (length < 0xFFFF)
            return length;
        return U32();
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Runs one section against the reader; false when the bytes ended inside it.
template <class Section>
bool ReadSection(Section section)
{
    try {
        section();
        return true;
    } catch (const EndOfData&) {
        return false;
    }
}

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString UnexpectedFileFormatText()
{
    return QStringLiteral("Unexpected file format.");
}

QString MissingCalculationText()
{
    return QStringLiteral("В файле отсутствует информация о расчёте ПКЭ.\n"
                          "Проверьте настройки во вкладке \"Уставки\" - \"Расчёт\".");
}

bool ReadConfig(QByteArrayView bytes, ConfigModel& model, UserPrompt& prompt, QString* error)
{
    // Everything goes into a copy first: a load that fails part-way must leave the current
    // configuration untouched.
    ConfigModel m = model;
    FieldReader in(bytes);

    if (!ReadSection([&] { MainSection(in, m); }))
        return Fail(error, UnexpectedFileFormatText());

    // Releases before the GPRS profiles ended their files here.
    if (!ReadSection([&] { GprsSection(in, m); })) {
        ApplyGprsDefaults(m);
        model = std::move(m);
        return true;
    }

    if (!ReadSection([&] { AddressSection(in, m); }))
        return Fail(error, UnexpectedFileFormatText());

    // The calculation block is taken byte by byte: when the file ends inside it, the bytes
    // that are there are kept and the rest of the block keeps its previous value.
    FieldWriter current;
    CalcSection(current, std::as_const(m));
    const qsizetype available = qMin(in.Remaining(), kCalcBlockSize);
    QByteArray calc = current.bytes;
    calc.replace(0, available, in.Take(quint64(available)).toByteArray());
    FieldReader calcReader(calc);
    CalcSection(calcReader, m);
    if (available < kCalcBlockSize) {
        prompt.Warning(MissingCalculationText());
        model = std::move(m);
        return true;
    }

    if (!ReadSection([&] { TailSection(in, m); }))
        return Fail(error, UnexpectedFileFormatText());

    // Bytes after the last field are ignored.
    model = std::move(m);
    return true;
}

QByteArray WriteConfig(const ConfigModel& model)
{
    FieldWriter out;
    MainSection(out, model);
    GprsSection(out, model);
    AddressSection(out, model);
    CalcSection(out, model);
    TailSection(out, model);
    return std::move(out.bytes);
}

bool LoadConfigFile(const QString& path, ConfigModel& model, UserPrompt& prompt, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("Failed to open document.\n%1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(error, QStringLiteral("Failed to open document.\n%1").arg(file.errorString()));
    return ReadConfig(bytes, model, prompt, error);
}

bool SaveConfigFile(const QString& path, const ConfigModel& model, QString* error)
{
    QString reason;
    if (!SaveFileBytes(path, WriteConfig(model), &reason))
        return Fail(error, QStringLiteral("Failed to save document.\n%1").arg(reason));
    return true;
}
