#pragma once
// What differs between two configurations, field by field in file order, with both values as
// the dump prints them. Arrays and the limit sets are compared element by element
// (harm_max[9], phase_limits.dev[5][0]); the raw sections record by record: groups[n] with
// its count, name and parameters, archive_mask.minute / .ten_minutes / .two_hours / .daily,
// deviation_limits[n] with its code, phase and limits. A record whose bytes differ where
// nothing of this shows (name bytes after the zero, entries beyond the count, two different
// not-a-number limits) also carries its bytes, so no difference goes unreported.
#include "model/ConfigModel.h"

#include <QByteArray>
#include <QList>

struct FieldDifference {
    QByteArray field;
    QByteArray a;   // JSON
    QByteArray b;

    friend bool operator==(const FieldDifference&, const FieldDifference&) = default;
};

QList<FieldDifference> DiffConfigs(const ConfigModel& a, const ConfigModel& b);

// "<field>: <a> -> <b>", one line each.
QByteArray DifferencesText(const QList<FieldDifference>& differences);
// [{"field": ..., "a": ..., "b": ...}, ...], one object a line; "[]" when there are none.
QByteArray DifferencesJson(const QList<FieldDifference>& differences);

// The four archive records inside archive_mask, in block order.
struct ArchiveRecordSpan {
    const char* name;
    int offset;
    int size;
};
inline constexpr ArchiveRecordSpan kArchiveRecords[] = {
    {"minute", 0, 8}, {"ten_minutes", 8, 16}, {"two_hours", 24, 16}, {"daily", 40, 16}};

// One slot of deviation_limits: code, phase, upper and lower limit (f32 LE).
inline constexpr int kLimitSlotSize = 10;
inline constexpr int kLimitSlots = kDeviationLimitsSize / kLimitSlotSize;
