#include "ParameterCatalogue.h"

#include "common/Cp1251.h"

#include <array>

namespace {

constexpr quint16 kFirstHarmonic = 8;
constexpr quint16 kLastHarmonic = 56;
constexpr quint16 kFirstInterharmonic = 57;
constexpr quint16 kLastInterharmonic = 105;

const std::array<CatalogueEntry, 17>& Entries()
{
    static const std::array<CatalogueEntry, 17> entries = {{
        {QStringLiteral("Отклонение напряжения"), QStringLiteral("дU"), true},
        {QStringLiteral("Установившееся отклонение напряжения"), QStringLiteral("дU(1)"), true},
        {QStringLiteral("Положительное отклонение напряжения"), QStringLiteral("дU(+)"), true},
        {QStringLiteral("Отрицательное отклонение напряжения"), QStringLiteral("дU(-)"), true},
        {QStringLiteral("Отклонение напряжения прямой последовательности"), QStringLiteral("дU1"), true},
        {QStringLiteral("K0u"), QStringLiteral("K0u"), true},
        {QStringLiteral("K2u"), QStringLiteral("K2u"), true},
        {QStringLiteral("Коэффициент искажения"), QStringLiteral("Ku"), true},
        {QStringLiteral("Коэффициент гармоники"), QStringLiteral("Ku"), true},
        {QStringLiteral("Коэффициент интергармоники"), QStringLiteral("Kuig"), true},
        {QStringLiteral("Значение частоты"), QStringLiteral("f"), false},
        {QStringLiteral("Отклонение частоты"), QStringLiteral("дf"), true},
        {QStringLiteral("Значение напряжения"), QStringLiteral("U"), false},
        {QStringLiteral("Установившееся значение напряжения"), QStringLiteral("U(1)"), false},
        {QStringLiteral("U0"), QStringLiteral("U0"), true},
        {QStringLiteral("U1"), QStringLiteral("U1"), true},
        {QStringLiteral("U2"), QStringLiteral("U2"), true},
    }};
    return entries;
}

// Index into Entries() for a code, or -1.
int EntryIndexFor(quint16 code)
{
    if (code <= 7)
        return code;
    if (code <= kLastHarmonic)
        return 8;
    if (code <= kLastInterharmonic)
        return 9;
    switch (code) {
    case 106: return 10;
    case 107: return 11;
    case 114: return 12;
    case 115: return 13;
    case 116: return 14;
    case 117: return 15;
    case 118: return 16;
    default: return -1;
    }
}

// The composition shared by the name and both designation forms.
QString ComposeDesignation(ParameterId id, bool greekDelta)
{
    const CatalogueEntry* entry = CatalogueEntryFor(id.code);
    if (!entry)
        return {};
    QString text = entry->designation;
    if (greekDelta && entry->greekDesignation)
        text.replace(QChar(u'д'), QChar(u'δ'));
    if (const quint8 order = HarmonicOrderOf(id.code))
        text += QString::number(order);
    if (const auto label = PhaseLabelOf(id))
        text += QLatin1Char(' ') + *label;
    return text;
}

void AddAllPhases(QList<ParameterId>& leaves, quint16 code)
{
    for (int phase = 0; phase < kPhaseCount; ++phase)
        leaves.append(ParameterId{code, quint8(phase), 0});
}

void AddRange(QList<ParameterId>& leaves, quint16 first, quint16 last, quint8 phase)
{
    for (int code = first; code <= last; ++code)
        leaves.append(ParameterId{quint16(code), phase, 0});
}

QList<ParameterCategory> BuildTree()
{
    QList<ParameterCategory> tree;

    QList<ParameterId> values;
    AddAllPhases(values, 114);
    AddAllPhases(values, 115);
    for (quint16 code : {116, 117, 118})
        values.append(ParameterId{code, 0, 0});
    tree.append({QStringLiteral("Значения напряжения"), values});

    QList<ParameterId> deviations;
    for (quint16 code : {0, 1, 2, 3})
        AddAllPhases(deviations, code);
    deviations.append(ParameterId{4, 0, 0});
    tree.append({QStringLiteral("Отклонения напряжения"), deviations});

    // The phase suffixes of these titles mix letters: the "А" is Cyrillic (U+0410), "B" and
    // "C" are Latin. Users know the titles letter for letter; keep them so.
    const std::array<QString, kPhaseCount> phaseSuffixes = {
        QStringLiteral(u"\u0410"), QStringLiteral("B"), QStringLiteral("C"),
        QStringLiteral(u"\u0410B"), QStringLiteral("BC"), QStringLiteral(u"C\u0410"),
    };
    for (int phase = 0; phase < kPhaseCount; ++phase) {
        QList<ParameterId> leaves;
        AddRange(leaves, kFirstHarmonic, kLastHarmonic, quint8(phase));
        tree.append({QStringLiteral("Коэффициенты гармоник фазы ") + phaseSuffixes[phase], leaves});
    }
    for (int phase = 0; phase < kPhaseCount; ++phase) {
        QList<ParameterId> leaves;
        AddRange(leaves, kFirstInterharmonic, kLastInterharmonic, quint8(phase));
        tree.append({QStringLiteral("Коэффициенты интергармоник фазы ") + phaseSuffixes[phase], leaves});
    }

    tree.append({QStringLiteral("Коэффициенты несимметрии"), {ParameterId{5, 0, 0}, ParameterId{6, 0, 0}}});

    QList<ParameterId> distortion;
    AddAllPhases(distortion, 7);
    tree.append({QStringLiteral("Коэффициенты искажения синусоидальности"), distortion});

    tree.append({QStringLiteral("Частота"), {ParameterId{106, 0, 0}, ParameterId{107, 0, 0}}});
    return tree;
}

} // namespace

const CatalogueEntry* CatalogueEntryFor(quint16 code)
{
    const int index = EntryIndexFor(code);
    return index < 0 ? nullptr : &Entries()[size_t(index)];
}

quint8 HarmonicOrderOf(quint16 code)
{
    if (code >= kFirstHarmonic && code <= kLastHarmonic)
        return quint8(code - 6);
    if (code >= kFirstInterharmonic && code <= kLastInterharmonic)
        return quint8(code - 56);
    return 0;
}

bool IsPhaseless(quint16 code)
{
    switch (code) {
    case 4: case 5: case 6: case 106: case 107: case 116: case 117: case 118:
        return true;
    default:
        return false;
    }
}

std::optional<QString> PhaseLabelOf(ParameterId id)
{
    if (IsPhaseless(id.code))
        return std::nullopt;
    static const std::array<QString, kPhaseCount> labels = {
        QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
        QStringLiteral("AB"), QStringLiteral("BC"), QStringLiteral("CA"),
    };
    if (id.phase < kPhaseCount)
        return labels[id.phase];
    return QString::number(id.phase);
}

QString ParameterName(ParameterId id)
{
    const CatalogueEntry* entry = CatalogueEntryFor(id.code);
    if (!entry)
        return {};
    QString text = entry->name;
    if (const quint8 order = HarmonicOrderOf(id.code))
        text += QLatin1Char(' ') + QString::number(order);
    if (const auto label = PhaseLabelOf(id))
        text += QStringLiteral(" фазы ") + *label;
    return text;
}

QString ParameterDesignation(ParameterId id)
{
    return ComposeDesignation(id, true);
}

QByteArray ParameterDesignation8Bit(ParameterId id)
{
    return cp1251::Encode(ComposeDesignation(id, false));
}

const QList<ParameterCategory>& ParameterTree()
{
    static const QList<ParameterCategory> tree = BuildTree();
    return tree;
}

QList<ParameterId> ParameterTreeLeaves()
{
    QList<ParameterId> leaves;
    for (const ParameterCategory& category : ParameterTree())
        leaves += category.leaves;
    return leaves;
}
