#pragma once
// The six parameter groups as the page "Группы" edits them: names, parameter lists,
// which groups are expanded, the page's one-parameter clipboard, and the rows the list
// shows. Every edit the page offers is an operation here; the widget only shows the rows
// and passes on what the user picked.
#include "model/ConfigModel.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>
#include <vector>

// One group of the page.
struct GroupState {
    QByteArray name;                 // cp1251, at most 15 bytes
    QList<ParameterId> parameters;   // at most 50
    bool expanded = false;
    // Set by every edit of this group. A record that the page cannot show exactly (count
    // above 50, name without its zero byte) goes back into the model unchanged until the
    // user has edited the group.
    bool edited = false;
    bool showsExactly = true;
    ParameterGroupRecord loaded;     // the record this group was loaded from
};

// One row of the list: a group row (parameterIndex -1) or a parameter row with the index
// of its parameter in the group's list and the number it shows (1-based; parameters
// without a catalogue entry have no row and are not counted).
struct GroupRow {
    int group = 0;
    int parameterIndex = -1;
    int number = 0;

    bool IsGroupRow() const { return parameterIndex < 0; }
    friend bool operator==(const GroupRow&, const GroupRow&) = default;
};

class GroupList {
public:
    static constexpr int kMaxParameters = ParameterGroupRecord::kMaxParameters;
    static constexpr int kMaxNameCharacters = 13;   // what a rename accepts

    // Every group collapsed, names and lists from the records (at most 15 name bytes and
    // 50 identifiers of a record whose count or name overruns).
    void Load(const std::array<ParameterGroupRecord, kGroupCount>& records);
    // Each edited or exactly shown group: the name and its zero byte (the rest of the 16
    // bytes stay), the list in order, the count, zero in every unused slot.
    void Store(std::array<ParameterGroupRecord, kGroupCount>& records) const;

    const GroupState& Group(int group) const { return m_groups[size_t(group)]; }
    int FreeSlots(int group) const;

    // The rows in list order: each group row, followed by its parameter rows when expanded.
    QList<GroupRow> Rows() const;

    // A group with parameters expands; an expanded group collapses. False when nothing
    // changed (an empty group).
    bool ToggleExpanded(int group);

    // Inserts block after the parameter at index `after` (-1: at the front), keeping its
    // order, as far as the group has room; the group then shows its rows, also for an
    // empty block. Returns the number inserted.
    int InsertAfter(int group, int after, const QList<ParameterId>& block);
    // Removes the parameter at index; a group left empty collapses. False for a bad index.
    bool Delete(int group, int index);
    // The clipboard takes the parameter at index. Copy leaves the group as it is.
    bool Copy(int group, int index);
    bool Cut(int group, int index);
    // The clipboard's parameter after index (-1: at the front), when there is one and the
    // group has room; the clipboard keeps it.
    bool Paste(int group, int after);
    bool HasClipboard() const { return m_clipboard.has_value(); }
    std::optional<ParameterId> Clipboard() const { return m_clipboard; }

    void Rename(int group, const QByteArray& name);

private:
    void Expand(GroupState& group);

    std::array<GroupState, kGroupCount> m_groups{};
    std::optional<ParameterId> m_clipboard;
};

// A record the page shows exactly: count 0..50 and a zero byte among the 16 name bytes.
bool GroupRecordShowsExactly(const ParameterGroupRecord& record);

// The record a store writes for a name and list: count, name with its zero byte over the
// previous record's name bytes, the list and zero in every unused slot.
ParameterGroupRecord StoredGroupRecord(const ParameterGroupRecord& previous, const QByteArray& name,
                                       const QList<ParameterId>& parameters);

// The check marks of the add-parameter tree: one per category and one per leaf of
// ParameterTree(). Checking a category checks its leaves and unchecking it clears them;
// checking a leaf checks its category, and the category clears with its last checked leaf.
class ParameterTreeChecks {
public:
    ParameterTreeChecks();

    bool CategoryChecked(int category) const { return m_categories[size_t(category)]; }
    bool LeafChecked(int category, int leaf) const { return m_leaves[size_t(category)][size_t(leaf)]; }

    void SetCategory(int category, bool checked);
    void SetLeaf(int category, int leaf, bool checked);

    // Every checked leaf, categories in order and leaves in order within each.
    QList<ParameterId> Checked() const;

private:
    std::vector<bool> m_categories;
    std::vector<std::vector<bool>> m_leaves;
};

// What "Добавить" hands back: everything checked when it fits into the free slots;
// otherwise the first `free` of them, once the user agreed to that.
QList<ParameterId> FirstThatFit(const QList<ParameterId>& checked, int free);
