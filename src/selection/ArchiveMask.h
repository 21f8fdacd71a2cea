#pragma once
// The archive selection of the page "Архивируемые данные": which cell of which grid stands for
// which bit of an archive record, what a click on a grid does to the bits, how many bytes one
// archive record takes with the chosen contents and how long the archive then lasts, and the
// three-wire clearing and restoring of the phase A, B and C marks.
//
// A sub-page's marks are kept as the two 64-bit words of its record (Q0, Q1), bit for bit as
// the meter stores them. The minute record has only Q0; its unnamed ninth quantity row lives in
// Q1 bit 49 on the page only and is never stored.
#include "model/ArchivePhaseAction.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct ConfigModel;

enum class ArchiveKind { Minute = 0, TenMinute = 1, TwoHour = 2, Day = 3 };
constexpr int kArchiveKinds = 4;

struct ArchiveMarks {
    std::uint64_t q0 = 0;
    std::uint64_t q1 = 0;
    friend bool operator==(const ArchiveMarks&, const ArchiveMarks&) = default;
};

// One bit of a record: word 0 is Q0, word 1 is Q1.
struct ArchiveBit {
    int word = 0;
    int bit = 0;
    friend bool operator==(const ArchiveBit&, const ArchiveBit&) = default;
};

bool IsMarked(const ArchiveMarks& marks, ArchiveBit bit);
void SetMarked(ArchiveMarks& marks, ArchiveBit bit, bool marked);

// Record offset and size in archive_mask (minute 0/8, then 16 bytes each).
int ArchiveRecordOffset(ArchiveKind kind);
int ArchiveRecordBytes(ArchiveKind kind);

// The sub-page's marks from its record of the model, and back. Storing writes only the bits
// the record uses; every other bit of the model keeps its value.
ArchiveMarks MarksFromModel(const ConfigModel& model, ArchiveKind kind);
void StoreMarksIntoModel(const ArchiveMarks& marks, ArchiveKind kind, ConfigModel& model);
// The bits of each word that a record of this kind uses.
ArchiveMarks UsedBits(ArchiveKind kind);

// Grid shapes and cell meanings.
constexpr int kPhaseGridColumns = 7;  // "Фаза", A, B, C, AB, BC, CA
int QuantityRows(ArchiveKind kind);   // 9, or 16 on the day sub-page
int HarmonicGridRows(ArchiveKind kind);     // 2 for the minute sub-page, otherwise 3
int HarmonicGridColumns(ArchiveKind kind);  // 50 or 51
// Names shown to the right of the quantity list ("" for the minute sub-page's row 8).
QString QuantityRowName(ArchiveKind kind, int row);
// Column header of the harmonic grid (the order number) or "" for column 0.
int HarmonicColumnHeading(ArchiveKind kind, int column);

std::optional<ArchiveBit> PhaseCellBit(int column);  // columns 1..6
std::optional<ArchiveBit> QuantityRowBit(ArchiveKind kind, int row);
// The data cell (row >= 1, column >= 1) of the harmonic grid, or nullopt where it holds no choice.
std::optional<ArchiveBit> HarmonicCellBit(ArchiveKind kind, int row, int column);

// Clicks on the cell (row, column), row 0 and column 0 being the headers. Each returns whether
// a mark changed.
bool ClickPhaseGrid(ArchiveMarks& marks, int row, int column);
bool ClickQuantityList(ArchiveMarks& marks, ArchiveKind kind, int row);
bool ClickHarmonicGrid(ArchiveMarks& marks, ArchiveKind kind, int row, int column);

// Storage depth.
int ArchiveRecordSize(ArchiveKind kind, const ArchiveMarks& marks);
struct ArchiveStore {
    std::int64_t capacity;  // bytes
    std::int64_t interval;  // seconds per record
};
ArchiveStore ArchiveStoreOf(ArchiveKind kind);  // Day: the daily store
constexpr ArchiveStore kWeeklyStore{352256, 604800};
// "0 дн.", "<d> дн." or "<h> час.".
QString StorageDepthText(int size, ArchiveStore store);
// The depth label of a sub-page: "Глубина хранения:9 дн." on the minute sub-page, with a blank
// after the colon on the others, daily and weekly depth on the day sub-page.
QString StorageDepthLabel(ArchiveKind kind, const ArchiveMarks& marks);

// The three-wire request of the voltage page over all four sub-pages. remembered[k][p] is
// whether phase p (A, B, C) of sub-page k was marked before the last clearing; it starts all
// true, so a restore without an earlier clearing marks the three phases everywhere. Returns
// whether any mark changed.
using ArchivePhaseMemory = std::array<std::array<bool, 3>, kArchiveKinds>;
ArchivePhaseMemory InitialArchivePhaseMemory();
bool ApplyArchivePhaseAction(ArchivePhaseAction action, std::array<ArchiveMarks, kArchiveKinds>& pages,
                             ArchivePhaseMemory& remembered);
