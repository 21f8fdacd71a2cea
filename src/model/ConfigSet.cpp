#include "ConfigSet.h"

#include "common/Cp1251.h"
#include "model/ConfigFields.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

namespace {

constexpr const char* kLimitSetMembers[] = {"dip_level", "swell_level", "interruption_level", "dev"};

// NAME split into its parts: base, ".member", "[i]..." .
struct Name {
    QString base;
    QString member;
    QList<int> indices;
};

std::optional<Name> ParseName(QStringView text)
{
    const auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    Name name;
    qsizetype i = 0;
    while (i < text.size() && isWordChar(text[i]))
        name.base += text[i++];
    if (name.base.isEmpty())
        return std::nullopt;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isWordChar(text[i]))
            name.member += text[i++];
        if (name.member.isEmpty())
            return std::nullopt;
    }
    while (i < text.size()) {
        if (text[i] != u'[')
            return std::nullopt;
        const qsizetype close = text.indexOf(u']', i);
        if (close < 0)
            return std::nullopt;
        bool ok = false;
        const int index = text.sliced(i + 1, close - i - 1).toInt(&ok);
        if (!ok || index < 0 || !text[i + 1].isDigit())
            return std::nullopt;
        name.indices << index;
        i = close + 1;
    }
    return name;
}

// The element an assignment changes: its type, address and the range and length its page takes.
struct Target {
    FieldType type = FieldType::I32;
    void* at = nullptr;
    int rawSize = 0;
    double min = -ConfigField::kNoLimit;
    double max = ConfigField::kNoLimit;
    int maxLength = 0;
};

int Distance(QStringView a, QStringView b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

QStringList Nearest(QStringView name, const QStringList& candidates)
{
    const QString wanted = name.toString().toLower();
    const int limit = std::max(2, int(wanted.size() / 3));
    QList<std::pair<int, QString>> scored;
    for (const QString& candidate : candidates) {
        // A name cut short is as near as one letter off.
        const int d = candidate.startsWith(wanted) ? 1 : Distance(wanted, candidate);
        if (d <= limit)
            scored.append({d, candidate});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList names;
    for (qsizetype i = 0; i < scored.size() && i < 3; ++i)
        names << scored[i].second;
    return names;
}

QStringList FieldNames()
{
    QStringList names;
    for (const ConfigField& f : ConfigFields())
        names << QString::fromLatin1(f.name);
    return names;
}

// base.dip_level, ... when names is empty; else the nearest of them to member.
QStringList LimitSetNames(const QString& base, QStringView member = {})
{
    QStringList names;
    for (const char* m : kLimitSetMembers)
        names << QLatin1String(m);
    if (!member.isEmpty())
        names = Nearest(member, names);
    for (QString& name : names)
        name.prepend(base + u'.');
    return names;
}

QString UnknownName(QStringView name, const QStringList& nearest)
{
    QString text = QStringLiteral("%1: такого поля нет").arg(name);
    if (!nearest.isEmpty())
        text += QStringLiteral(" (похожие: %1)").arg(nearest.join(QStringLiteral(", ")));
    return text;
}

// Finds what NAME points at; on failure *error says why.
std::optional<Target> Resolve(ConfigModel& model, QStringView text, QString* error)
{
    const std::optional<Name> name = ParseName(text);
    if (!name) {
        *error = QStringLiteral("%1: неверное имя поля").arg(text);
        return std::nullopt;
    }
    const ConfigField* field = FindConfigField(name->base.toStdString());
    if (!field) {
        *error = UnknownName(text, NearestFieldNames(name->base));
        return std::nullopt;
    }
    Target target{field->type, nullptr, 0, field->min, field->max, field->maxLength};

    if (field->type == FieldType::LimitSet) {
        VoltageLimitSet& set = *field->Elements<VoltageLimitSet>(model);
        target.type = FieldType::F64;
        if (name->member == u"dev") {
            if (name->indices.size() != 2) {
                *error = QStringLiteral("%1: укажите предел как %2.dev[0..7][0..2]").arg(text, name->base);
                return std::nullopt;
            }
            const int slot = name->indices[0];
            const int column = name->indices[1];
            if (slot >= VoltageLimitSet::kSlots || column >= VoltageLimitSet::kColumns) {
                *error = QStringLiteral("%1: индекс вне диапазона: %2.dev[0..7][0..2]").arg(text, name->base);
                return std::nullopt;
            }
            target.at = &set.dev[size_t(slot)][size_t(column)];
            return target;
        }
        double* level = name->member == u"dip_level"            ? &set.dip_level
                        : name->member == u"swell_level"        ? &set.swell_level
                        : name->member == u"interruption_level" ? &set.interruption_level
                                                                : nullptr;
        if (!level) {
            *error = name->member.isEmpty()
                ? QStringLiteral("%1: укажите уровень или предел: %2").arg(text, LimitSetNames(name->base).join(u", "))
                : UnknownName(text, LimitSetNames(name->base, name->member));
            return std::nullopt;
        }
        if (!name->indices.isEmpty()) {
            *error = QStringLiteral("%1: поле %2.%3 не массив").arg(text, name->base, name->member);
            return std::nullopt;
        }
        target.at = level;
        return target;
    }

    if (!name->member.isEmpty()) {
        *error = UnknownName(text, NearestFieldNames(name->base + u'.' + name->member));
        return std::nullopt;
    }
    if (field->array) {
        if (name->indices.size() != 1) {
            *error = QStringLiteral("%1: укажите элемент: %2[0..%3]").arg(text, name->base).arg(field->count - 1);
            return std::nullopt;
        }
        if (name->indices[0] >= field->count) {
            *error = QStringLiteral("%1: индекс вне диапазона: %2[0..%3]").arg(text, name->base).arg(field->count - 1);
            return std::nullopt;
        }
    } else if (!name->indices.isEmpty()) {
        *error = QStringLiteral("%1: поле %2 не массив").arg(text, name->base);
        return std::nullopt;
    }
    const int element = field->array ? name->indices[0] : 0;
    VisitElement(*field, model, element, [&target](auto&& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::span<quint8>>) {
            target.at = value.data();
            target.rawSize = int(value.size());
        } else {
            target.at = &value;
        }
    });
    if (field->type == FieldType::Groups)
        target.rawSize = kGroupsBlockSize;
    return target;
}

template <class T>
constexpr bool kIsInteger = std::is_integral_v<T> && !std::is_same_v<T, bool>;

QString RangeText(double min, double max)
{
    return QStringLiteral("%1..%2").arg(min, 0, 'g', 17).arg(max, 0, 'g', 17);
}

template <class T>
QString StoreInteger(void* at, const QByteArray& value, const Target& target)
{
    qint64 number = 0;
    const char* end = value.constData() + value.size();
    const auto [ptr, ec] = std::from_chars(value.constData(), end, number);
    if (value.isEmpty() || ec == std::errc::invalid_argument || ptr != end)
        return QStringLiteral("«%1» не целое число").arg(QString::fromUtf8(value));
    const double min = std::max(double(std::numeric_limits<T>::min()), target.min);
    const double max = std::min(double(std::numeric_limits<T>::max()), target.max);
    if (ec == std::errc::result_out_of_range || double(number) < min || double(number) > max)
        return QStringLiteral("%1 вне диапазона %2").arg(QString::fromUtf8(value), RangeText(min, max));
    *static_cast<T*>(at) = T(number);
    return {};
}

template <class T>
QString StoreFloat(void* at, const QByteArray& value, const Target& target)
{
    T number = 0;
    const char* end = value.constData() + value.size();
    const auto [ptr, ec] = std::from_chars(value.constData(), end, number, std::chars_format::general);
    // "nan" and "inf" are not values a meter or a page knows.
    if (value.isEmpty() || ec == std::errc::invalid_argument || ptr != end
        || (ec == std::errc() && !std::isfinite(number)))
        return QStringLiteral("«%1» не число").arg(QString::fromUtf8(value));
    if (ec == std::errc::result_out_of_range)
        return QStringLiteral("%1 не помещается в число %2").arg(QString::fromUtf8(value),
                                                              sizeof(T) == 4 ? QStringLiteral("f32") : QStringLiteral("f64"));
    if (number < target.min || number > target.max)
        return QStringLiteral("%1 вне диапазона %2").arg(QString::fromUtf8(value), RangeText(target.min, target.max));
    *static_cast<T*>(at) = number;
    return {};
}

QString StoreText(void* at, QStringView value, const Target& target)
{
    QString text = value.toString();
    if (value.startsWith(u'"')) {
        const QJsonDocument document = QJsonDocument::fromJson('[' + value.toUtf8() + ']');
        if (!document.isArray() || document.array().size() != 1 || !document.array().at(0).isString())
            return QStringLiteral("%1 не строка JSON").arg(value);
        text = document.array().at(0).toString();
    }
    if (!cp1251::CanEncode(text))
        return QStringLiteral("в тексте есть символы, которых нет в cp1251");
    if (target.maxLength > 0 && text.size() > target.maxLength)
        return QStringLiteral("текст длиннее %1 символов").arg(target.maxLength);
    *static_cast<QByteArray*>(at) = cp1251::Encode(text);
    return {};
}

QString StoreRaw(const Target& target, QStringView value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.sliced(1, value.size() - 2);
    const auto isHex = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if (value.size() != 2 * target.rawSize || !std::all_of(value.begin(), value.end(), isHex))
        return QStringLiteral("нужно ровно %1 шестнадцатеричных цифр (%2 байт)").arg(2 * target.rawSize).arg(target.rawSize);
    const QByteArray bytes = QByteArray::fromHex(value.toLatin1());
    if (target.type == FieldType::Groups)
        *static_cast<std::array<ParameterGroupRecord, kGroupCount>*>(target.at) = GroupsFromBytes(bytes);
    else
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(target.at));
    return {};
}

QString Store(const Target& target, QStringView value)
{
    const QByteArray ascii = value.toUtf8();
    switch (target.type) {
    case FieldType::I32: return StoreInteger<qint32>(target.at, ascii, target);
    case FieldType::I16: return StoreInteger<qint16>(target.at, ascii, target);
    case FieldType::U16: return StoreInteger<quint16>(target.at, ascii, target);
    case FieldType::U8: return StoreInteger<quint8>(target.at, ascii, target);
    case FieldType::F32: return StoreFloat<float>(target.at, ascii, target);
    case FieldType::F64: return StoreFloat<double>(target.at, ascii, target);
    case FieldType::Bool:
        if (ascii != "true" && ascii != "false")
            return QStringLiteral("нужно true или false");
        *static_cast<bool*>(target.at) = ascii == "true";
        return {};
    case FieldType::Text: return StoreText(target.at, value, target);
    case FieldType::Raw:
    case FieldType::Groups: return StoreRaw(target, value);
    case FieldType::LimitSet: break;
    }
    return QStringLiteral("поле нельзя задать одним значением");
}

} // namespace

QString AssignConfigField(ConfigModel& model, QStringView assignment)
{
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals < 0)
        return QStringLiteral("%1: нужно ИМЯ=ЗНАЧЕНИЕ").arg(assignment);
    const QStringView name = assignment.first(equals);
    const QStringView value = assignment.sliced(equals + 1);

    QString error;
    const std::optional<Target> target = Resolve(model, name, &error);
    if (!target)
        return error;
    // Store writes the element only once the value has passed every check.
    error = Store(*target, value);
    return error.isEmpty() ? error : QStringLiteral("%1: %2").arg(name, error);
}

QStringList NearestFieldNames(QStringView name)
{
    return Nearest(name, FieldNames());
}
