#pragma once
// "Добавление нового параметра": the check-box tree of every selectable parameter under
// "Текущие значения". "Добавить" hands back the checked leaves in tree order, at most as
// many as the group has free slots (asking first when more are checked).
#include "selection/GroupDialogs.h"
#include "selection/GroupList.h"

#include <QList>

class QTreeWidget;
class QTreeWidgetItem;

class CDialogListElements : public QDialog {
public:
    CDialogListElements(int free, DialogRunner runner = RunModal, QWidget* parent = nullptr);

    // The parameters to add after "Добавить".
    const QList<ParameterId>& Chosen() const { return m_chosen; }

    QTreeWidget* Tree() const { return m_tree; }
    QTreeWidgetItem* Root() const { return m_root; }
    QTreeWidgetItem* CategoryItem(int category) const;
    QTreeWidgetItem* LeafItem(int category, int leaf) const;
    // What a click on an item's check image does.
    void ToggleItem(QTreeWidgetItem* item);
    void OnAdd();
    QPushButton* AddButton() const { return m_add; }

private:
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void ShowChecks(int category);

    int m_free;
    DialogRunner m_runner;
    ParameterTreeChecks m_checks;
    QList<ParameterId> m_chosen;
    QTreeWidget* m_tree = nullptr;
    QTreeWidgetItem* m_root = nullptr;
    QPushButton* m_add = nullptr;
    bool m_updating = false;
};
