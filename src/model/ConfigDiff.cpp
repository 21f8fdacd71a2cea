#include "ConfigDiff.h"

#include "common/LittleEndian.h"
#include "model/ConfigDump.h"
#include "model/ConfigFields.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace {

class Differences {
public:
    void Add(const QByteArray& field, const QByteArray& a, const QByteArray& b) { list.append({field, a, b}); }

    template <class T>
        requires std::is_floating_point_v<T>
    void Compare(const QByteArray& field, T a, T b)
    {
        // By the stored bits: the file tells -0 from 0 and one not-a-number from another.
        if (std::memcmp(&a, &b, sizeof(T)) != 0)
            Add(field, JsonNumber(a), JsonNumber(b));
    }

    QList<FieldDifference> list;
};

bool SameElement(const ConfigField& f, const ConfigModel& a, const ConfigModel& b, int e)
{
    bool same = true;
    VisitElement(f, a, e, [&](const auto& x) {
        using T = std::remove_cvref_t<decltype(x)>;
        if constexpr (std::is_arithmetic_v<T>)
            same = std::memcmp(&x, &f.Elements<T>(b)[e], sizeof(T)) == 0;
        else if constexpr (std::is_same_v<T, QByteArray>)
            same = x == f.Elements<QByteArray>(b)[e];
        else if constexpr (std::is_same_v<T, std::span<const quint8>>)
            same = std::memcmp(x.data(), f.Elements<quint8>(b), x.size()) == 0;
    });
    return same;
}

void CompareLimitSets(Differences& out, const QByteArray& name, const VoltageLimitSet& a, const VoltageLimitSet& b)
{
    out.Compare(name + ".dip_level", a.dip_level, b.dip_level);
    out.Compare(name + ".swell_level", a.swell_level, b.swell_level);
    out.Compare(name + ".interruption_level", a.interruption_level, b.interruption_level);
    // In file order: column by column.
    for (int column = 0; column < VoltageLimitSet::kColumns; ++column)
        for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
            out.Compare(name + ".dev[" + QByteArray::number(slot) + "][" + QByteArray::number(column) + ']',
                        a.dev[size_t(slot)][size_t(column)], b.dev[size_t(slot)][size_t(column)]);
}

// Reports a record that differs by what describe() makes of it; when that reads the same on
// both sides, the bytes are added to the description.
template <class Describe>
void CompareRecords(Differences& out, const QByteArray& field, QByteArrayView a, QByteArrayView b, Describe describe)
{
    if (a == b)
        return;
    QByteArray da = describe(a);
    QByteArray db = describe(b);
    if (da == db) {
        da.insert(da.size() - 1, ", \"bytes\": " + JsonHex(a));
        db.insert(db.size() - 1, ", \"bytes\": " + JsonHex(b));
    }
    out.Add(field, da, db);
}

QByteArray DescribeGroup(QByteArrayView bytes)
{
    const ParameterGroupRecord group = ParameterGroupRecord::FromBytes(bytes);
    QByteArray parameters = "[";
    for (int i = 0; i < group.UsableCount(); ++i) {
        const ParameterId id = group.parameters[size_t(i)];
        parameters += (i ? ", [" : "[") + QByteArray::number(id.code) + ", " + QByteArray::number(id.phase) + ']';
    }
    return "{\"count\": " + QByteArray::number(group.count) + ", \"name\": " + JsonText(group.NameText())
        + ", \"parameters\": " + parameters + "]}";
}

QByteArray DescribeLimitSlot(QByteArrayView slot)
{
    const auto limit = [&](qsizetype offset) { return std::bit_cast<float>(le::U32(slot, offset)); };
    return "{\"code\": " + QByteArray::number(quint8(slot[0])) + ", \"phase\": " + QByteArray::number(quint8(slot[1]))
        + ", \"upper\": " + JsonNumber(limit(2)) + ", \"lower\": " + JsonNumber(limit(6)) + '}';
}

template <size_t N>
QByteArrayView Bytes(const std::array<quint8, N>& raw)
{
    return QByteArrayView(raw.data(), qsizetype(N));
}

} // namespace

QList<FieldDifference> DiffConfigs(const ConfigModel& a, const ConfigModel& b)
{
    Differences out;
    for (const ConfigField& f : ConfigFields()) {
        const QByteArray name(f.name);
        if (f.type == FieldType::LimitSet) {
            CompareLimitSets(out, name, *f.Elements<VoltageLimitSet>(a), *f.Elements<VoltageLimitSet>(b));
        } else if (f.type == FieldType::Groups) {
            const QByteArray ga = GroupsToBytes(a.groups);
            const QByteArray gb = GroupsToBytes(b.groups);
            constexpr int size = ParameterGroupRecord::kSize;
            for (int n = 0; n < kGroupCount; ++n)
                CompareRecords(out, name + '[' + QByteArray::number(n) + ']', QByteArrayView(ga).sliced(n * size, size),
                               QByteArrayView(gb).sliced(n * size, size), DescribeGroup);
        } else if (f.type == FieldType::Raw && f.Elements<quint8>(a) == a.archive_mask.data()) {
            for (const ArchiveRecordSpan& record : kArchiveRecords)
                CompareRecords(out, name + '.' + record.name, Bytes(a.archive_mask).sliced(record.offset, record.size),
                               Bytes(b.archive_mask).sliced(record.offset, record.size), JsonHex);
        } else if (f.type == FieldType::Raw && f.Elements<quint8>(a) == a.deviation_limits.data()) {
            for (int n = 0; n < kLimitSlots; ++n)
                CompareRecords(out, name + '[' + QByteArray::number(n) + ']',
                               Bytes(a.deviation_limits).sliced(n * kLimitSlotSize, kLimitSlotSize),
                               Bytes(b.deviation_limits).sliced(n * kLimitSlotSize, kLimitSlotSize), DescribeLimitSlot);
        } else {
            for (int e = 0; e < f.ElementCount(); ++e) {
                if (!SameElement(f, a, b, e))
                    out.Add(f.array ? name + '[' + QByteArray::number(e) + ']' : name, ElementJson(f, a, e),
                            ElementJson(f, b, e));
            }
        }
    }
    return out.list;
}

QByteArray DifferencesText(const QList<FieldDifference>& differences)
{
    QByteArray text;
    for (const FieldDifference& d : differences)
        text += d.field + ": " + d.a + " -> " + d.b + '\n';
    return text;
}

QByteArray DifferencesJson(const QList<FieldDifference>& differences)
{
    if (differences.isEmpty())
        return "[]\n";
    QByteArray json = "[\n";
    for (qsizetype i = 0; i < differences.size(); ++i) {
        const FieldDifference& d = differences[i];
        json += "  {\"field\": " + JsonText(d.field) + ", \"a\": " + d.a + ", \"b\": " + d.b + '}'
            + (i + 1 < differences.size() ? ",\n" : "\n");
    }
    return json + "]\n";
}
