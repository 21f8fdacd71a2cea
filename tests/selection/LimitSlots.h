#pragma once
// Writing and reading one 10-byte slot of a limits block in the tests.
#include "selection/DeviationLimits.h"

#include <QtEndian>

#include <cstring>

inline void PutSlot(quint8* block, int slot, quint8 code, quint8 phase, float upper, float lower)
{
    quint8* r = block + slot * kLimitSlotSize;
    r[0] = code;
    r[1] = phase;
    quint32 raw;
    std::memcpy(&raw, &upper, 4);
    qToLittleEndian(raw, r + 2);
    std::memcpy(&raw, &lower, 4);
    qToLittleEndian(raw, r + 6);
}

inline float SlotUpper(const quint8* block, int slot)
{
    const quint32 raw = qFromLittleEndian<quint32>(block + slot * kLimitSlotSize + 2);
    float value;
    std::memcpy(&value, &raw, 4);
    return value;
}
