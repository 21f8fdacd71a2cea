#pragma once
// The page "Группы": the six parameter groups in one five-column list, with rename, add,
// cut, copy, paste and delete of parameters, and the groups block of the meter.
#include "selection/GroupDialogs.h"
#include "selection/GroupList.h"
#include "shell/FormPage.h"

#include <memory>
#include <optional>

class CTreeList;
class QMenu;
class QTreeWidgetItem;
class UserPrompt;

class CGroupView : public CFormPage {
public:
    explicit CGroupView(QWidget* parent = nullptr);
    ~CGroupView() override;

    void ExchangeWithModel(ConfigModel& model, int direction) override;
    void ContributeHooks(PageHooks& hooks, ConfigModel& model) override;
    void EditCut() override { OnCut(); }
    void EditCopy() override { OnCopy(); }
    void EditPaste() override { OnPaste(); }
    void LayoutStretchingControls(const QRect& page, const QRect& client) override;

    // The page's commands; each works on the selected row and does nothing without one.
    void OnRename();
    void OnAdd();
    void OnCut();
    void OnCopy();
    void OnPaste();
    void OnDelete();
    void OnHelp();
    // A double click on a row.
    void OnRowActivated(int row);

    // The context menu "Редактирование" for the selected row; null when no row is selected.
    std::unique_ptr<QMenu> ContextMenu();

    CTreeList* List() const { return m_list; }
    const GroupList& Groups() const { return m_groups; }
    void SelectRow(int row);
    int SelectedRow() const;
    // Tests answer the dialogs through this instead of a modal loop.
    void SetDialogRunner(DialogRunner runner) { m_runner = std::move(runner); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<GroupRow> Selected() const;
    // Shows the rows of m_groups and selects the row `select` (by group and parameter).
    void Rebuild(std::optional<GroupRow> select);
    void RebuildSelectingIndex(int row);
    void RemoveSelected(bool copyFirst);
    UserPrompt& Prompt();
    void OnContextMenu(const QPoint& position);

    GroupList m_groups;
    QList<GroupRow> m_rows;
    CTreeList* m_list = nullptr;
    DialogRunner m_runner = RunModal;
    std::unique_ptr<UserPrompt> m_ownPrompt;
};
