#include "GroupList.h"

#include <algorithm>
#include <cstring>

bool GroupRecordShowsExactly(const ParameterGroupRecord& record)
{
    return record.count <= ParameterGroupRecord::kMaxParameters
        && std::find(record.name.begin(), record.name.end(), quint8(0)) != record.name.end();
}

ParameterGroupRecord StoredGroupRecord(const ParameterGroupRecord& previous, const QByteArray& name,
                                       const QList<ParameterId>& parameters)
{
    ParameterGroupRecord record = previous;
    const qsizetype length = qMin<qsizetype>(name.size(), ParameterGroupRecord::kNameSize - 1);
    std::memcpy(record.name.data(), name.constData(), size_t(length));
    record.name[size_t(length)] = 0;
    const qsizetype count = qMin<qsizetype>(parameters.size(), ParameterGroupRecord::kMaxParameters);
    record.count = quint16(count);
    record.parameters.fill(ParameterId{});
    std::copy_n(parameters.cbegin(), count, record.parameters.begin());
    return record;
}

void GroupList::Load(const std::array<ParameterGroupRecord, kGroupCount>& records)
{
    for (int g = 0; g < kGroupCount; ++g) {
        const ParameterGroupRecord& record = records[size_t(g)];
        GroupState& group = m_groups[size_t(g)];
        group = GroupState{};
        group.name = record.NameText();
        const int count = record.UsableCount();
        group.parameters = QList<ParameterId>(record.parameters.cbegin(), record.parameters.cbegin() + count);
        group.showsExactly = GroupRecordShowsExactly(record);
        group.loaded = record;
    }
}

void GroupList::Store(std::array<ParameterGroupRecord, kGroupCount>& records) const
{
    for (int g = 0; g < kGroupCount; ++g) {
        const GroupState& group = m_groups[size_t(g)];
        ParameterGroupRecord& record = records[size_t(g)];
        if (!group.showsExactly && !group.edited) {
            record = group.loaded;
            continue;
        }
        record = StoredGroupRecord(record, group.name, group.parameters);
    }
}

int GroupList::FreeSlots(int group) const
{
    return qMax(0, kMaxParameters - int(m_groups[size_t(group)].parameters.size()));
}

QList<GroupRow> GroupList::Rows() const
{
    QList<GroupRow> rows;
    for (int g = 0; g < kGroupCount; ++g) {
        rows.append(GroupRow{g, -1, 0});
        const GroupState& group = m_groups[size_t(g)];
        if (!group.expanded)
            continue;
        int number = 0;
        for (int i = 0; i < group.parameters.size(); ++i) {
            if (CatalogueEntryFor(group.parameters[i].code))
                rows.append(GroupRow{g, i, ++number});
        }
    }
    return rows;
}

void GroupList::Expand(GroupState& group)
{
    if (!group.parameters.isEmpty())
        group.expanded = true;
}

bool GroupList::ToggleExpanded(int g)
{
    GroupState& group = m_groups[size_t(g)];
    if (group.expanded) {
        group.expanded = false;
        return true;
    }
    Expand(group);
    return group.expanded;
}

int GroupList::InsertAfter(int g, int after, const QList<ParameterId>& block)
{
    GroupState& group = m_groups[size_t(g)];
    const int position = std::clamp(after + 1, 0, int(group.parameters.size()));
    const int inserted = std::min(int(block.size()), FreeSlots(g));
    for (int i = 0; i < inserted; ++i)
        group.parameters.insert(position + i, block[i]);
    group.edited = true;
    Expand(group);
    return inserted;
}

bool GroupList::Delete(int g, int index)
{
    GroupState& group = m_groups[size_t(g)];
    if (index < 0 || index >= group.parameters.size())
        return false;
    group.parameters.removeAt(index);
    group.edited = true;
    if (group.parameters.isEmpty())
        group.expanded = false;
    return true;
}

bool GroupList::Copy(int g, int index)
{
    const GroupState& group = m_groups[size_t(g)];
    if (index < 0 || index >= group.parameters.size())
        return false;
    m_clipboard = group.parameters[index];
    return true;
}

bool GroupList::Cut(int g, int index)
{
    return Copy(g, index) && Delete(g, index);
}

bool GroupList::Paste(int g, int after)
{
    if (!m_clipboard || FreeSlots(g) == 0)
        return false;
    return InsertAfter(g, after, {*m_clipboard}) == 1;
}

void GroupList::Rename(int g, const QByteArray& name)
{
    GroupState& group = m_groups[size_t(g)];
    group.name = name.left(ParameterGroupRecord::kNameSize - 1);
    group.edited = true;
}

ParameterTreeChecks::ParameterTreeChecks()
{
    const QList<ParameterCategory>& tree = ParameterTree();
    m_categories.assign(size_t(tree.size()), false);
    m_leaves.reserve(size_t(tree.size()));
    for (const ParameterCategory& category : tree)
        m_leaves.emplace_back(size_t(category.leaves.size()), false);
}

void ParameterTreeChecks::SetCategory(int category, bool checked)
{
    m_categories[size_t(category)] = checked;
    auto& leaves = m_leaves[size_t(category)];
    std::fill(leaves.begin(), leaves.end(), checked);
}

void ParameterTreeChecks::SetLeaf(int category, int leaf, bool checked)
{
    auto& leaves = m_leaves[size_t(category)];
    leaves[size_t(leaf)] = checked;
    if (checked)
        m_categories[size_t(category)] = true;
    else if (std::find(leaves.begin(), leaves.end(), true) == leaves.end())
        m_categories[size_t(category)] = false;
}

QList<ParameterId> ParameterTreeChecks::Checked() const
{
    const QList<ParameterCategory>& tree = ParameterTree();
    QList<ParameterId> out;
    for (size_t c = 0; c < m_leaves.size(); ++c) {
        for (size_t l = 0; l < m_leaves[c].size(); ++l) {
            if (m_leaves[c][l])
                out.append(tree[qsizetype(c)].leaves[qsizetype(l)]);
        }
    }
    return out;
}

QList<ParameterId> FirstThatFit(const QList<ParameterId>& checked, int free)
{
    return checked.first(std::clamp<qsizetype>(free, 0, checked.size()));
}
