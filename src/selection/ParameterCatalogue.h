#pragma once
// The catalogue of measured parameters: what a parameter identifier means and how it is
// named, plus the fixed tree of every parameter the user can pick for a group or a
// deviation limit. Constant data and lookups only; no state.
#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Phases of a parameter; 0..2 are phase-to-neutral, 3..5 line-to-line quantities.
enum PhaseIndex : quint8 {
    PhaseA = 0,
    PhaseB = 1,
    PhaseC = 2,
    PhaseAB = 3,
    PhaseBC = 4,
    PhaseCA = 5,
};

constexpr int kPhaseCount = 6;

// One measured parameter on one phase. Stored as four bytes everywhere (group lists, the
// groups block): code as u16 little-endian, phase, a reserved zero byte. Read as one
// little-endian 32-bit value it is code + 65536 * phase.
struct ParameterId {
    quint16 code = 0;
    quint8 phase = 0;
    quint8 reserved = 0;

    static constexpr int kSize = 4;

    constexpr quint32 ToUInt32() const
    {
        return quint32(code) | (quint32(phase) << 16) | (quint32(reserved) << 24);
    }
    static constexpr ParameterId FromUInt32(quint32 value)
    {
        return ParameterId{quint16(value & 0xFFFF), quint8((value >> 16) & 0xFF), quint8(value >> 24)};
    }

    friend constexpr bool operator==(const ParameterId&, const ParameterId&) = default;
};
static_assert(sizeof(ParameterId) == ParameterId::kSize);

// One catalogue row, texts in Unicode. In the 8-bit (cp1251) form the flagged designations
// begin with the byte 0xE4 ("д"), which a Greek-charset font draws as δ.
struct CatalogueEntry {
    QString name;
    QString designation;     // with "д" where the 8-bit text has 0xE4
    bool greekDesignation;   // draw the designation's "д" as δ
};

// The entry of a code, or nullptr for codes 108..113 and above 118.
const CatalogueEntry* CatalogueEntryFor(quint16 code);

// Harmonic order (codes 8..56 -> 2..50) or interharmonic order (57..105 -> 1..49); 0 for
// every other code.
quint8 HarmonicOrderOf(quint16 code);

// True for the codes that carry no phase (4, 5, 6, 106, 107, 116, 117, 118); their phase
// byte is ignored in every text.
bool IsPhaseless(quint16 code);

// "A", "B", "C", "AB", "BC", "CA" (Latin letters), or nullopt for a phase-less code. A phase
// byte above 5 (only ever read from a meter or a file) is labelled with its number, so such
// an entry stays visible and distinct instead of borrowing a real phase's label.
std::optional<QString> PhaseLabelOf(ParameterId id);

// Composed texts of an identifier with a catalogue entry ("Коэффициент гармоники 3 фазы AB",
// "Ku3 AB"). Empty for an identifier without an entry; callers check CatalogueEntryFor first.
QString ParameterName(ParameterId id);
// Unicode form for the pages: flagged designations show δ in place of "д" ("δU A").
QString ParameterDesignation(ParameterId id);
// 8-bit cp1251 form: flagged designations keep the byte 0xE4 for a Greek-charset font.
QByteArray ParameterDesignation8Bit(ParameterId id);

// One category of the selection tree: its title and its leaves in order.
struct ParameterCategory {
    QString title;
    QList<ParameterId> leaves;
};

// The 17 categories with 638 leaves, in the order both selection trees show them. The root's
// title belongs to the page that shows the tree.
const QList<ParameterCategory>& ParameterTree();

// Every leaf of ParameterTree() in tree order (638 identifiers).
QList<ParameterId> ParameterTreeLeaves();
