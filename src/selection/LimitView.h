#pragma once
// The page "Отклонения": the parameters the meter checks against an upper and a lower limit,
// ticked in the tree "Параметры" (at most 50), with the limits of the selected leaf.
#include "DeviationLimits.h"
#include "shell/FormPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QRect;
class QAbstractItemDelegate;

class CLimitView : public CFormPage {
public:
    explicit CLimitView(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;
    void ContributeHooks(PageHooks& hooks, ConfigModel& model) override;
    void LayoutStretchingControls(const QRect& page, const QRect& client) override;

    const DeviationSelection& Selection() const { return m_selection; }
    QTreeWidget* Tree() const { return m_tree; }
    QTreeWidgetItem* LeafItem(int leaf) const { return m_leafItems[std::size_t(leaf)]; }
    QTreeWidgetItem* CategoryItem(int category) const { return m_categoryItems[std::size_t(category)]; }
    QLineEdit* UpperEdit() const { return m_upper; }
    QLineEdit* LowerEdit() const { return m_lower; }

    // Where an item's check image is, in the tree's viewport.
    QRect ImageRect(QTreeWidgetItem* item) const;
    // A click on an item's check image (the tree's own clicks and keys come here too).
    void OnImageClicked(QTreeWidgetItem* item);

private:
    enum ItemKind { RootItem = 0, CategoryKind = 1, LeafKind = 2 };
    void ShowImages();
    void ShowCount();
    void ShowSelectedLimits();
    void OnLimitEdited(bool upper, const QString& text);
    int SelectedLeaf() const;

    DeviationSelection m_selection;
    QTreeWidget* m_tree = nullptr;
    QAbstractItemDelegate* m_delegate = nullptr;
    QTreeWidgetItem* m_root = nullptr;
    std::vector<QTreeWidgetItem*> m_categoryItems;
    std::vector<QTreeWidgetItem*> m_leafItems;
    QLabel* m_treeLabel = nullptr;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QComboBox* m_interval = nullptr;
    QCheckBox* m_onlySelected = nullptr;
    QLabel* m_count = nullptr;
    bool m_showing = false;  // the edits are being filled by the page itself
};
