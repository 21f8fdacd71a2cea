#include "ConfigDump.h"

#include "common/Cp1251.h"
#include "model/ConfigFields.h"

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

QByteArray Hex(QByteArrayView raw)
{
    return '"' + raw.toByteArray().toHex() + '"';
}

QByteArray LimitSet(const VoltageLimitSet& set)
{
    QByteArray dev = "[";
    for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot) {
        dev += slot ? ", [" : "[";
        for (int column = 0; column < VoltageLimitSet::kColumns; ++column)
            dev += (column ? ", " : "") + Number(set.dev[size_t(slot)][size_t(column)]);
        dev += ']';
    }
    dev += ']';
    return "{\"dip_level\": " + Number(set.dip_level) + ", \"swell_level\": " + Number(set.swell_level)
        + ", \"interruption_level\": " + Number(set.interruption_level) + ", \"dev\": " + dev + '}';
}

} // namespace

QByteArray JsonNumber(double value) { return Number(value); }
QByteArray JsonNumber(float value) { return Number(value); }
QByteArray JsonText(const QByteArray& cp1251Bytes) { return Text(cp1251Bytes); }
QByteArray JsonHex(QByteArrayView bytes) { return Hex(bytes); }

QByteArray ElementJson(const ConfigField& field, const ConfigModel& model, int element)
{
    QByteArray json;
    VisitElement(field, model, element, [&json](const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_arithmetic_v<T>)
            json = Number(value);
        else if constexpr (std::is_same_v<T, QByteArray>)
            json = Text(value);
        else if constexpr (std::is_same_v<T, VoltageLimitSet>)
            json = LimitSet(value);
        else if constexpr (std::is_same_v<T, std::array<ParameterGroupRecord, kGroupCount>>)
            json = Hex(GroupsToBytes(value));
        else
            json = Hex(QByteArrayView(value.data(), qsizetype(value.size())));
    });
    return json;
}

QByteArray FieldJson(const ConfigField& field, const ConfigModel& model)
{
    if (!field.array)
        return ElementJson(field, model, 0);
    QByteArray json = "[";
    for (int e = 0; e < field.count; ++e)
        json += (e ? ", " : "") + ElementJson(field, model, e);
    return json + ']';
}

QByteArray ConfigToJson(const ConfigModel& model)
{
    QByteArray json;
    for (const ConfigField& field : ConfigFields())
        json += (json.isEmpty() ? "{\n  \"" : ",\n  \"") + QByteArray(field.name) + "\": " + FieldJson(field, model);
    return json + "\n}\n";
}
