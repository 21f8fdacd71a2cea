#include "DeviationLimits.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr quint8 kEmptySlot = 0xFF;

float FloatAt(const quint8* bytes)
{
    const quint32 raw = qFromLittleEndian<quint32>(bytes);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void PutFloat(quint8* bytes, float value)
{
    quint32 raw;
    std::memcpy(&raw, &value, sizeof raw);
    qToLittleEndian<quint32>(raw, bytes);
}

} // namespace

DeviationSelection::DeviationSelection()
{
    for (const ParameterCategory& category : ParameterTree()) {
        m_firstLeaf.push_back(int(m_leaves.size()));
        for (const ParameterId& id : category.leaves)
            m_leaves.push_back(LimitLeaf{id});
    }
    m_firstLeaf.push_back(int(m_leaves.size()));
}

int DeviationSelection::CategoryOf(int leaf) const
{
    const auto it = std::upper_bound(m_firstLeaf.begin(), m_firstLeaf.end(), leaf);
    return int(it - m_firstLeaf.begin()) - 1;
}

bool DeviationSelection::CategoryTicked(int category) const
{
    for (int i = FirstLeaf(category); i < EndLeaf(category); ++i) {
        if (m_leaves[std::size_t(i)].selected)
            return true;
    }
    return false;
}

void DeviationSelection::Load(const LimitsBlock& block)
{
    for (LimitLeaf& leaf : m_leaves) {
        leaf.upper = 0;
        leaf.lower = 0;
        leaf.selected = 0;
    }
    m_chosen = 0;
    for (int slot = 0; slot < kLimitSlots; ++slot) {
        const quint8* record = block.data() + slot * kLimitSlotSize;
        if (record[0] == kEmptySlot)
            continue;
        ++m_chosen;
        for (LimitLeaf& leaf : m_leaves) {
            if (leaf.id.code == record[0] && leaf.id.phase == record[1]) {
                leaf.upper = FloatAt(record + 2);
                leaf.lower = FloatAt(record + 6);
                leaf.selected = 1;
            }
        }
    }
}

void DeviationSelection::Store(LimitsBlock& block) const
{
    int slot = 0;
    for (const LimitLeaf& leaf : m_leaves) {
        if (!leaf.selected)
            continue;
        if (slot == kLimitSlots)
            break;
        quint8* record = block.data() + slot * kLimitSlotSize;
        record[0] = quint8(leaf.id.code & 0xFF);
        record[1] = leaf.id.phase;
        PutFloat(record + 2, leaf.upper);
        PutFloat(record + 6, leaf.lower);
        ++slot;
    }
    for (; slot < kLimitSlots; ++slot) {
        quint8* record = block.data() + slot * kLimitSlotSize;
        record[0] = kEmptySlot;
        record[1] = kEmptySlot;
    }
}

bool DeviationSelection::ClickLeaf(int leaf)
{
    LimitLeaf& record = m_leaves[std::size_t(leaf)];
    if (record.selected) {
        record.selected = 0;
        --m_chosen;
        return true;
    }
    if (m_chosen >= kLimitSlots)
        return false;
    record.selected = 1;
    ++m_chosen;
    return true;
}

bool DeviationSelection::ClickCategory(int category)
{
    bool changed = false;
    if (CategoryTicked(category)) {
        for (int i = FirstLeaf(category); i < EndLeaf(category); ++i) {
            LimitLeaf& record = m_leaves[std::size_t(i)];
            if (record.selected) {
                record.selected = 0;
                --m_chosen;
                changed = true;
            }
        }
        return changed;
    }
    for (int i = FirstLeaf(category); i < EndLeaf(category) && m_chosen < kLimitSlots; ++i) {
        LimitLeaf& record = m_leaves[std::size_t(i)];
        if (!record.selected) {
            record.selected = 1;
            ++m_chosen;
            changed = true;
        }
    }
    return changed;
}
