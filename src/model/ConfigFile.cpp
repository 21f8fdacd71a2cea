#include "ConfigFile.h"

#include "common/Cp1251.h"
#include "common/SaveFile.h"
#include "common/UserPrompt.h"
#include "model/ConfigFields.h"

#include <QFile>
#include <QtEndian>

#include <cstring>
#include <span>
#include <type_traits>
#include <utility>

namespace {

// The file layout is the field table: a walk over one section of it drives an "io" that is
// either a reader (fields by non-const reference) or a writer (fields by const reference), so
// reading and writing can never disagree on the order.

template <class Io, class Set>
void LimitSetFields(Io& io, Set& set)
{
    io.Field(set.dip_level);
    io.Field(set.swell_level);
    io.Field(set.interruption_level);
    // Column by column in the file, slot-major in memory.
    for (int column = 0; column < VoltageLimitSet::kColumns; ++column)
        for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
            io.Field(set.dev[size_t(slot)][size_t(column)]);
}

template <class Io, class Model>
void Elements(Io& io, Model& m, const ConfigField& f, int first, int n)
{
    VisitElements(f, m, first, n, [&io](auto&& value) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, VoltageLimitSet>)
            LimitSetFields(io, value);
        else
            io.Field(value);
    });
}

template <class Io, class Model>
void Section(Io& io, Model& m, FileSection section)
{
    const std::span<const ConfigField> fields = ConfigFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const ConfigField& f = fields[i];
        if (f.section != section)
            continue;
        if (f.interleave == 1) {
            Elements(io, m, f, 0, f.ElementCount());
            continue;
        }
        for (int e = 0; e < f.count; ++e)
            for (int k = 0; k < f.interleave; ++k)
                Elements(io, m, fields[i + size_t(k)], e, 1);
        i += size_t(f.interleave) - 1;
    }
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

    void Field(std::span<const quint8> raw)
    {
        bytes.append(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size()));
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

    void Field(std::span<quint8> raw)
    {
        std::memcpy(raw.data(), Take(raw.size()).data(), raw.size());
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
template <class Body>
bool ReadSection(Body body)
{
    try {
        body();
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

    if (!ReadSection([&] { Section(in, m, FileSection::Main); }))
        return Fail(error, UnexpectedFileFormatText());

    // Releases before the GPRS profiles ended their files here.
    if (!ReadSection([&] { Section(in, m, FileSection::Gprs); })) {
        ApplyGprsDefaults(m);
        model = std::move(m);
        return true;
    }

    if (!ReadSection([&] { Section(in, m, FileSection::Address); }))
        return Fail(error, UnexpectedFileFormatText());

    // The calculation block is taken byte by byte: when the file ends inside it, the bytes
    // that are there are kept and the rest of the block keeps its previous value.
    FieldWriter current;
    Section(current, std::as_const(m), FileSection::Calc);
    QByteArray calc = std::move(current.bytes);
    const qsizetype available = qMin(in.Remaining(), calc.size());
    calc.replace(0, available, in.Take(quint64(available)).toByteArray());
    FieldReader calcReader(calc);
    Section(calcReader, m, FileSection::Calc);
    if (available < calc.size()) {
        prompt.Warning(MissingCalculationText());
        model = std::move(m);
        return true;
    }

    if (!ReadSection([&] { Section(in, m, FileSection::Tail); }))
        return Fail(error, UnexpectedFileFormatText());

    // Bytes after the last field are ignored.
    model = std::move(m);
    return true;
}

QByteArray WriteConfig(const ConfigModel& model)
{
    FieldWriter out;
    for (const FileSection section : {FileSection::Main, FileSection::Gprs, FileSection::Address,
                                      FileSection::Calc, FileSection::Tail})
        Section(out, model, section);
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
