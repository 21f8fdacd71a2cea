#pragma once
// The working copy of the page "Отклонения": one record per leaf of the parameter tree with its
// two limits and whether it is ticked, the number of chosen parameters, the rules of ticking
// with their cap of 50, and the 500-byte limits block they come from and go to.
#include "ParameterCatalogue.h"
#include "model/ConfigModel.h"

#include <array>
#include <vector>

constexpr int kLimitSlots = 50;
constexpr int kLimitSlotSize = 10;

// One tree leaf: its parameter, its limits and whether it is ticked.
struct LimitLeaf {
    ParameterId id;
    float upper = 0;
    float lower = 0;
    quint8 selected = 0;
};

using LimitsBlock = std::array<quint8, kDeviationLimitsSize>;

class DeviationSelection {
public:
    DeviationSelection();  // every leaf of the tree in order, nothing chosen

    const std::vector<LimitLeaf>& Leaves() const { return m_leaves; }
    int ChosenCount() const { return m_chosen; }
    int CategoryCount() const { return int(m_firstLeaf.size()) - 1; }
    int FirstLeaf(int category) const { return m_firstLeaf[std::size_t(category)]; }
    int EndLeaf(int category) const { return m_firstLeaf[std::size_t(category) + 1]; }
    int CategoryOf(int leaf) const;
    // A category shows ticked while one of its leaves is.
    bool CategoryTicked(int category) const;

    // Every used slot counts, also one that repeats a parameter or names none of the tree;
    // each leaf named by a slot is ticked and takes that slot's limits.
    void Load(const LimitsBlock& block);
    // The ticked leaves in tree order, then 0xFF 0xFF at the start of every slot after them;
    // the other bytes of those slots keep what they held.
    void Store(LimitsBlock& block) const;

    // A click on the check image of a leaf or a category; true when anything changed.
    bool ClickLeaf(int leaf);
    bool ClickCategory(int category);

    // Limits as typed: narrowed to single precision.
    void SetUpper(int leaf, double value) { m_leaves[std::size_t(leaf)].upper = float(value); }
    void SetLower(int leaf, double value) { m_leaves[std::size_t(leaf)].lower = float(value); }

private:
    std::vector<LimitLeaf> m_leaves;
    std::vector<int> m_firstLeaf;  // per category, plus the end
    int m_chosen = 0;
};
