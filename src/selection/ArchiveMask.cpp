#include "ArchiveMask.h"

#include "model/ConfigModel.h"

#include <QtEndian>

#include <bit>

namespace {

constexpr int kFirstHarmonicBit = 9;     // order n at Q0 bit n + 9
constexpr int kFlickerRow = 8;           // Q1 bit 49
constexpr int kFlickerBit = 49;
constexpr std::uint64_t kPhaseBits = 0x3F;
constexpr std::uint64_t kThreeWirePhaseBits = 0x7;

// Q0 bits of the quantity rows 0..7.
constexpr std::array<int, 8> kQuantityBitsQ0 = {6, 10, 61, 62, 60, 7, 8, 9};

std::uint64_t BitRange(int first, int last)
{
    std::uint64_t bits = 0;
    for (int b = first; b <= last; ++b)
        bits |= std::uint64_t(1) << b;
    return bits;
}

std::uint64_t& Word(ArchiveMarks& marks, int word) { return word == 0 ? marks.q0 : marks.q1; }

bool Marked(const ArchiveMarks& marks, std::optional<ArchiveBit> bit) { return bit && IsMarked(marks, *bit); }

// Marks or clears a bit; true when it changed.
bool Put(ArchiveMarks& marks, std::optional<ArchiveBit> bit, bool marked)
{
    if (!bit || IsMarked(marks, *bit) == marked)
        return false;
    SetMarked(marks, *bit, marked);
    return true;
}

int Count(std::uint64_t bits) { return std::popcount(bits); }

// The mark of a quantity row as 0 or 1.
int Q(const ArchiveMarks& marks, ArchiveKind kind, int row) { return Marked(marks, QuantityRowBit(kind, row)) ? 1 : 0; }

} // namespace

bool IsMarked(const ArchiveMarks& marks, ArchiveBit bit)
{
    const std::uint64_t word = bit.word == 0 ? marks.q0 : marks.q1;
    return (word >> bit.bit) & 1;
}

void SetMarked(ArchiveMarks& marks, ArchiveBit bit, bool marked)
{
    const std::uint64_t mask = std::uint64_t(1) << bit.bit;
    std::uint64_t& word = Word(marks, bit.word);
    word = marked ? (word | mask) : (word & ~mask);
}

int ArchiveRecordOffset(ArchiveKind kind)
{
    return kind == ArchiveKind::Minute ? 0 : 8 + 16 * (int(kind) - 1);
}

int ArchiveRecordBytes(ArchiveKind kind) { return kind == ArchiveKind::Minute ? 8 : 16; }

ArchiveMarks UsedBits(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Minute:
        return {BitRange(0, 62), 0};
    case ArchiveKind::TenMinute:
    case ArchiveKind::TwoHour:
        return {BitRange(0, 62), BitRange(0, 49)};
    case ArchiveKind::Day:
        return {BitRange(0, 62), BitRange(0, 56)};
    }
    return {};
}

ArchiveMarks MarksFromModel(const ConfigModel& model, ArchiveKind kind)
{
    const quint8* record = model.archive_mask.data() + ArchiveRecordOffset(kind);
    ArchiveMarks marks;
    marks.q0 = qFromLittleEndian<quint64>(record);
    if (ArchiveRecordBytes(kind) == 16)
        marks.q1 = qFromLittleEndian<quint64>(record + 8);
    return marks;
}

void StoreMarksIntoModel(const ArchiveMarks& marks, ArchiveKind kind, ConfigModel& model)
{
    const ArchiveMarks used = UsedBits(kind);
    const ArchiveMarks old = MarksFromModel(model, kind);
    quint8* record = model.archive_mask.data() + ArchiveRecordOffset(kind);
    qToLittleEndian<quint64>((old.q0 & ~used.q0) | (marks.q0 & used.q0), record);
    if (ArchiveRecordBytes(kind) == 16)
        qToLittleEndian<quint64>((old.q1 & ~used.q1) | (marks.q1 & used.q1), record + 8);
}

int QuantityRows(ArchiveKind kind) { return kind == ArchiveKind::Day ? 16 : 9; }
int HarmonicGridRows(ArchiveKind kind) { return kind == ArchiveKind::Minute ? 2 : 3; }
int HarmonicGridColumns(ArchiveKind kind) { return kind == ArchiveKind::Minute ? 50 : 51; }

QString QuantityRowName(ArchiveKind kind, int row)
{
    static const std::array<const char16_t*, 16> names = {
        u"Отклонение напряжения",
        u"Коэффициенты искажения",
        u"Коэффициент несимметрии напряжения по нулевой последовательности",
        u"Коэффициент несимметрии напряжения по обратной последовательности ",
        u"Отклонение напряжения прямой последовательности",
        u"Отклонение напряжения первой гармоники",
        u"Положительное отклонение напряжения",
        u"Отрицательное отклонение напряжения",
        u"Кратковременная доза фликера",
        u"Длительная доза фликера",
        u"Длительность провалов напряжения",
        u"Длительность перенапряжений",
        u"Длительность прерываний напряжения",
        u"Отклонение частоты",
        u"Время работы",
        u"Время простоя",
    };
    if (row < 0 || row >= QuantityRows(kind))
        return {};
    if (row == kFlickerRow) {
        if (kind == ArchiveKind::Minute)
            return {};
        if (kind == ArchiveKind::TwoHour)
            return QString::fromUtf16(names[9]);
    }
    return QString::fromUtf16(names[std::size_t(row)]);
}

int HarmonicColumnHeading(ArchiveKind kind, int column)
{
    if (column < 1 || column >= HarmonicGridColumns(kind))
        return 0;
    return kind == ArchiveKind::Minute ? column + 1 : column;
}

std::optional<ArchiveBit> PhaseCellBit(int column)
{
    if (column < 1 || column >= kPhaseGridColumns)
        return std::nullopt;
    return ArchiveBit{0, column - 1};
}

std::optional<ArchiveBit> QuantityRowBit(ArchiveKind kind, int row)
{
    if (row < 0 || row >= QuantityRows(kind))
        return std::nullopt;
    if (row < int(kQuantityBitsQ0.size()))
        return ArchiveBit{0, kQuantityBitsQ0[std::size_t(row)]};
    // Row 8 of the minute sub-page has a cell but nothing in the record: it lives in Q1, which
    // the minute record does not have, and is never stored.
    return ArchiveBit{1, kFlickerBit + (row - kFlickerRow)};
}

std::optional<ArchiveBit> HarmonicCellBit(ArchiveKind kind, int row, int column)
{
    if (kind == ArchiveKind::Minute) {
        if (row == 1 && column >= 1 && column <= 49)
            return ArchiveBit{0, column + 1 + kFirstHarmonicBit};
        return std::nullopt;
    }
    if (row == 1 && column >= 2 && column <= 50)
        return ArchiveBit{0, column + kFirstHarmonicBit};
    if (row == 2 && column >= 1 && column <= 49)
        return ArchiveBit{1, column - 1};
    return std::nullopt;
}

bool ClickPhaseGrid(ArchiveMarks& marks, int row, int column)
{
    if (row < 0 || row > 1)
        return false;
    if (const auto bit = PhaseCellBit(column)) {
        SetMarked(marks, *bit, !IsMarked(marks, *bit));
        return true;
    }
    if (row == 1 && column == 0) {
        const std::uint64_t before = marks.q0;
        if (marks.q0 & 1)
            marks.q0 &= ~kPhaseBits;
        else
            marks.q0 |= kPhaseBits;
        return marks.q0 != before;
    }
    return false;
}

bool ClickQuantityList(ArchiveMarks& marks, ArchiveKind kind, int row)
{
    const auto bit = QuantityRowBit(kind, row);
    if (!bit)
        return false;
    SetMarked(marks, *bit, !IsMarked(marks, *bit));
    return true;
}

bool ClickHarmonicGrid(ArchiveMarks& marks, ArchiveKind kind, int row, int column)
{
    const int rows = HarmonicGridRows(kind);
    const int columns = HarmonicGridColumns(kind);
    if (row < 0 || row >= rows || column < 0 || column >= columns)
        return false;
    if (row >= 1 && column >= 1) {
        const auto bit = HarmonicCellBit(kind, row, column);
        if (!bit)
            return false;
        SetMarked(marks, *bit, !IsMarked(marks, *bit));
        return true;
    }
    if (row == 0 && column >= 1) {
        const auto first = HarmonicCellBit(kind, 1, column);
        if (!first)
            return false;  // the header of a column whose first row holds no choice
        const bool mark = !IsMarked(marks, *first);
        bool changed = Put(marks, first, mark);
        changed |= Put(marks, HarmonicCellBit(kind, 2, column), mark);
        return changed;
    }
    if (row >= 1 && column == 0) {
        // Decided by the first choice of row 1 that the grid offers beside column 1: on the
        // minute sub-page that is order 3, elsewhere order 2 of the harmonics, and order 1 of
        // the interharmonics.
        const auto decider = HarmonicCellBit(kind, row, row == 1 ? 2 : 1);
        const bool mark = !Marked(marks, decider);
        bool changed = false;
        for (int c = 1; c < columns; ++c)
            changed |= Put(marks, HarmonicCellBit(kind, row, c), mark);
        return changed;
    }
    return false;
}

int ArchiveRecordSize(ArchiveKind kind, const ArchiveMarks& marks)
{
    const int p = Count(marks.q0 & kPhaseBits);
    const int h = Count(marks.q0 & BitRange(11, 59));
    const int i = Count(marks.q1 & BitRange(0, 48));
    const int dU = Q(marks, kind, 0), ku = Q(marks, kind, 1), k0u = Q(marks, kind, 2), k2u = Q(marks, kind, 3);
    const int dU1 = Q(marks, kind, 4), dUs = Q(marks, kind, 5), dUp = Q(marks, kind, 6), dUm = Q(marks, kind, 7);
    switch (kind) {
    case ArchiveKind::Minute:
        return 28 + 2 * (k0u + k2u + dU1) + p * (1 + 2 * (dU + ku + dUs + dUp + dUm + h));
    case ArchiveKind::TenMinute:
    case ArchiveKind::TwoHour: {
        const int f = Q(marks, kind, 8);
        return 28 + 2 * (k0u + k2u + dU1) + p * (1 + 2 * (dU + ku + dUs + dUp + dUm + f + h + i));
    }
    case ArchiveKind::Day: {
        const int pst = Q(marks, kind, 8), plt = Q(marks, kind, 9), dd = Q(marks, kind, 10), ds = Q(marks, kind, 11);
        const int di = Q(marks, kind, 12), df = Q(marks, kind, 13), tw = Q(marks, kind, 14), ti = Q(marks, kind, 15);
        return 28 + 8 * k0u + 8 * k2u + 24 * dU1 + 12 * df + 8 * tw + 8 * ti
            + p * (24 * dU + 8 * ku + 24 * dUs + 16 * dUp + 16 * dUm + 8 * (pst + plt + dd + ds + di) + 8 * h + 8 * i);
    }
    }
    return 0;
}

ArchiveStore ArchiveStoreOf(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Minute:
        return {9143296, 60};
    case ArchiveKind::TenMinute:
        return {1761280, 600};
    case ArchiveKind::TwoHour:
        return {486400, 7200};
    case ArchiveKind::Day:
        return {586752, 86400};
    }
    return {0, 0};
}

QString StorageDepthText(int size, ArchiveStore store)
{
    const std::int64_t depth = size <= 28 ? 0 : (store.capacity / size) * store.interval;
    if (depth == 0)
        return QStringLiteral("0 дн.");
    const std::int64_t days = depth / 86400;
    if (days >= 1)
        return QString::number(days) + QStringLiteral(" дн.");
    return QString::number(depth / 3600) + QStringLiteral(" час.");
}

QString StorageDepthLabel(ArchiveKind kind, const ArchiveMarks& marks)
{
    const int size = ArchiveRecordSize(kind, marks);
    const QString depth = StorageDepthText(size, ArchiveStoreOf(kind));
    switch (kind) {
    case ArchiveKind::Minute:
        return QStringLiteral("Глубина хранения:") + depth;
    case ArchiveKind::TenMinute:
    case ArchiveKind::TwoHour:
        return QStringLiteral("Глубина хранения: ") + depth;
    case ArchiveKind::Day:
        return QStringLiteral("Глубина хранения: ") + depth + QStringLiteral(" / ") + StorageDepthText(size, kWeeklyStore);
    }
    return {};
}

ArchivePhaseMemory InitialArchivePhaseMemory()
{
    ArchivePhaseMemory memory;
    for (auto& page : memory)
        page.fill(true);
    return memory;
}

bool ApplyArchivePhaseAction(ArchivePhaseAction action, std::array<ArchiveMarks, kArchiveKinds>& pages,
                             ArchivePhaseMemory& remembered)
{
    if (action != ArchivePhaseAction::Clear && action != ArchivePhaseAction::Restore)
        return false;
    bool changed = false;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const std::uint64_t before = pages[k].q0;
        for (int p = 0; p < 3; ++p) {
            const ArchiveBit bit{0, p};
            if (action == ArchivePhaseAction::Clear) {
                remembered[k][std::size_t(p)] = IsMarked(pages[k], bit);
                SetMarked(pages[k], bit, false);
            } else {
                SetMarked(pages[k], bit, remembered[k][std::size_t(p)]);
            }
        }
        changed |= (pages[k].q0 & kThreeWirePhaseBits) != (before & kThreeWirePhaseBits);
    }
    return changed;
}
