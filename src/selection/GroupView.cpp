#include "GroupView.h"

#include "common/Cp1251.h"
#include "device/GuiPrompt.h"
#include "device/ProcessCommand.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "selection/DialogListElements.h"
#include "shell/HelpWindow.h"
#include "shell/ToolbarIcons.h"
#include "shell/TreeList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace {

constexpr int kHelpTopic = 1;

struct Column {
    const char16_t* header;
    int width;
};
constexpr Column kColumns[] = {
    {u"№", 30}, {u"Название группы", 120}, {u"№", 30}, {u"Наименование параметра", 360}, {u"Обозначение", 100},
};

} // namespace

CGroupView::CGroupView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CGroupView"));
    m_list = new CTreeList(this);
    m_list->setObjectName(QStringLiteral("groupList"));
    m_list->setAccessibleName(QStringLiteral("Группы"));
    m_list->Initialise();
    // The list's cell borders come from a style sheet, which otherwise paints the selected
    // row without its highlight.
    m_list->setStyleSheet(m_list->styleSheet()
                          + QStringLiteral(" QTreeView::item:selected { background: palette(highlight);"
                                           " color: palette(highlighted-text); }"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformRowHeights(true);
    QStringList headers;
    for (const Column& column : kColumns)
        headers << QString::fromUtf16(column.header);
    m_list->setHeaderLabels(headers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    for (int c = 0; c < int(std::size(kColumns)); ++c)
        m_list->setColumnWidth(c, kColumns[c].width);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->installEventFilter(this);
    m_list->setGeometry(0, 2, 650, 400);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CGroupView::OnContextMenu);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnRowActivated(m_list->indexOfTopLevelItem(item)); });
}

CGroupView::~CGroupView() = default;

void CGroupView::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == ToPage) {
        m_groups.Load(model.groups);
        Rebuild(std::nullopt);
    } else {
        m_groups.Store(model.groups);
    }
}

void CGroupView::ContributeHooks(PageHooks& hooks, ConfigModel& model)
{
    hooks.storePage = [this, &model] { ExchangeWithModel(model, ToModel); };
    hooks.loadPage = [this, &model] { ExchangeWithModel(model, ToPage); };
}

void CGroupView::LayoutStretchingControls(const QRect& page, const QRect&)
{
    // Like the setpoint page's sub-page strip: from 19 pixels above the page's top to 22
    // above its bottom.
    const int top = page.top() - 19;
    const int bottom = page.y() + page.height();
    m_list->setGeometry(page.left(), top, page.width(), bottom - 22 - top);
}

UserPrompt& CGroupView::Prompt()
{
    if (Processor())
        return Processor()->Prompt();
    if (!m_ownPrompt)
        m_ownPrompt = std::make_unique<GuiPrompt>(this);
    return *m_ownPrompt;
}

int CGroupView::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void CGroupView::SelectRow(int row)
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    if (!item) {
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentItem(item);
    item->setSelected(true);
}

std::optional<GroupRow> CGroupView::Selected() const
{
    const int row = SelectedRow();
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    return m_rows[row];
}

void CGroupView::Rebuild(std::optional<GroupRow> select)
{
    m_rows = m_groups.Rows();
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    int selectRow = -1;
    for (int r = 0; r < m_rows.size(); ++r) {
        const GroupRow& row = m_rows[r];
        const GroupState& group = m_groups.Group(row.group);
        if (row.IsGroupRow()) {
            m_list->InsertGroupRow(r, QByteArray::number(row.group + 1), group.name);
        } else {
            const ParameterId id = group.parameters[row.parameterIndex];
            const CatalogueEntry* entry = CatalogueEntryFor(id.code);
            m_list->InsertParameterRow(r, QByteArray::number(row.number), cp1251::Encode(ParameterName(id)),
                                       ParameterDesignation8Bit(id), row.group, entry && entry->greekDesignation);
        }
        if (select && select->group == row.group && select->parameterIndex == row.parameterIndex)
            selectRow = r;
    }
    m_list->setUpdatesEnabled(true);
    SelectRow(selectRow);
}

void CGroupView::RebuildSelectingIndex(int row)
{
    Rebuild(std::nullopt);
    SelectRow(row < m_rows.size() ? row : -1);
}

void CGroupView::OnRowActivated(int row)
{
    if (row < 0 || row >= m_rows.size() || !m_rows[row].IsGroupRow())
        return;
    const GroupRow groupRow = m_rows[row];
    if (m_groups.ToggleExpanded(groupRow.group))
        Rebuild(groupRow);
}

void CGroupView::OnRename()
{
    const std::optional<GroupRow> row = Selected();
    if (!row || !row->IsGroupRow())
        return;
    CNewNameGroup dialog(cp1251::Decode(m_groups.Group(row->group).name), Prompt(), this);
    if (m_runner(dialog) == QDialog::Accepted) {
        m_groups.Rename(row->group, cp1251::Encode(dialog.Name()));
        m_list->topLevelItem(SelectedRow())->setText(1, cp1251::Decode(m_groups.Group(row->group).name));
    }
    modelChanged().Set();
}

void CGroupView::OnAdd()
{
    const std::optional<GroupRow> row = Selected();
    if (!row)
        return;
    CDialogListElements dialog(m_groups.FreeSlots(row->group), m_runner, this);
    if (m_runner(dialog) != QDialog::Accepted)
        return;
    m_groups.InsertAfter(row->group, row->parameterIndex, dialog.Chosen());
    Rebuild(row);
    modelChanged().Set();
}

void CGroupView::OnCopy()
{
    const std::optional<GroupRow> row = Selected();
    if (row && !row->IsGroupRow())
        m_groups.Copy(row->group, row->parameterIndex);
}

void CGroupView::OnCut()
{
    RemoveSelected(true);
}

void CGroupView::OnDelete()
{
    RemoveSelected(false);
}

// Cut and delete: only a parameter row; the row now in its place is selected after.
void CGroupView::RemoveSelected(bool copyFirst)
{
    const std::optional<GroupRow> row = Selected();
    if (!row || row->IsGroupRow())
        return;
    const int selected = SelectedRow();
    if (copyFirst ? m_groups.Cut(row->group, row->parameterIndex) : m_groups.Delete(row->group, row->parameterIndex)) {
        RebuildSelectingIndex(selected);
        modelChanged().Set();
    }
}

void CGroupView::OnPaste()
{
    const std::optional<GroupRow> row = Selected();
    if (!row || !m_groups.Paste(row->group, row->parameterIndex))
        return;
    Rebuild(row);
    modelChanged().Set();
}

void CGroupView::OnHelp()
{
    CHelpWindow::Show(this, kHelpTopic);
}

std::unique_ptr<QMenu> CGroupView::ContextMenu()
{
    const std::optional<GroupRow> row = Selected();
    if (!row)
        return nullptr;
    const bool groupRow = row->IsGroupRow();
    auto menu = std::make_unique<QMenu>(QStringLiteral("Редактирование"), this);
    menu->setObjectName(QStringLiteral("groupMenu"));
    auto add = [&](const QString& text, void (CGroupView::*slot)(), bool enabled, const QIcon& icon = {}) {
        QAction* action = menu->addAction(icon, text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    add(QStringLiteral("Переименовать группу\tCtrl+A"), &CGroupView::OnRename, groupRow);
    add(QStringLiteral("Добавить параметр\tIns"), &CGroupView::OnAdd, true);
    menu->addSeparator();
    add(QStringLiteral("Вырезать\tCtrl+X"), &CGroupView::OnCut, !groupRow, ToolbarIcon(ToolbarIconKind::Cut));
    add(QStringLiteral("Копировать\tCtrl+C"), &CGroupView::OnCopy, !groupRow, ToolbarIcon(ToolbarIconKind::Copy));
    add(QStringLiteral("Вставить\tCtrl+V"), &CGroupView::OnPaste, m_groups.HasClipboard(),
        ToolbarIcon(ToolbarIconKind::Paste));
    add(QStringLiteral("Удалить\tCtrl+D"), &CGroupView::OnDelete, !groupRow);
    menu->addSeparator();
    add(QStringLiteral("Помощь\tF1"), &CGroupView::OnHelp, true);
    return menu;
}

void CGroupView::OnContextMenu(const QPoint& position)
{
    QTreeWidgetItem* item = m_list->itemAt(position);
    if (!item || !item->isSelected())
        return;
    if (std::unique_ptr<QMenu> menu = ContextMenu())
        menu->exec(m_list->viewport()->mapToGlobal(position));
}

bool CGroupView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return CFormPage::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Insert:
        OnAdd();
        return true;
    case Qt::Key_Delete:
        OnDelete();
        return true;
    case Qt::Key_F1:
        OnHelp();
        return true;
    default:
        break;
    }
    if (!ctrl)
        return CFormPage::eventFilter(watched, event);
    switch (key->key()) {
    case Qt::Key_A:
        OnRename();
        return true;
    case Qt::Key_X:
        OnCut();
        return true;
    case Qt::Key_C:
        OnCopy();
        return true;
    case Qt::Key_V:
        OnPaste();
        return true;
    case Qt::Key_D:
        OnDelete();
        return true;
    case Qt::Key_Z:
        return true;
    default:
        return CFormPage::eventFilter(watched, event);
    }
}
