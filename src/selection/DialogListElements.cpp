#include "DialogListElements.h"

#include "shell/HelpWindow.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kCategoryRole = Qt::UserRole;
constexpr int kLeafRole = Qt::UserRole + 1;
constexpr int kHelpTopic = 4;

QFont TreeFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The root's group symbol: a small folder-like box.
QIcon GroupSymbol()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(90, 70, 20));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawRect(1, 4, 13, 10);
    painter.drawRect(1, 2, 6, 2);
    return QIcon(pixmap);
}

Qt::CheckState State(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

} // namespace

CDialogListElements::CDialogListElements(int free, DialogRunner runner, QWidget* parent)
    : QDialog(parent)
    , m_free(free)
    , m_runner(std::move(runner))
{
    setObjectName(QStringLiteral("CDialogListElements"));
    setWindowTitle(QStringLiteral("Добавление нового параметра"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("parameterTree"));
    m_tree->setAccessibleName(QStringLiteral("Текущие значения"));
    m_tree->setFont(TreeFont());
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);

    m_root = new QTreeWidgetItem(QStringList{QStringLiteral("Текущие значения")});
    m_root->setIcon(0, GroupSymbol());
    m_root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const QList<ParameterCategory>& tree = ParameterTree();
    for (int c = 0; c < tree.size(); ++c) {
        auto* category = new QTreeWidgetItem(m_root, QStringList{tree[c].title});
        category->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        category->setCheckState(0, Qt::Unchecked);
        category->setData(0, kCategoryRole, c);
        category->setData(0, kLeafRole, -1);
        QList<QTreeWidgetItem*> leaves;
        leaves.reserve(tree[c].leaves.size());
        for (int l = 0; l < tree[c].leaves.size(); ++l) {
            auto* leaf = new QTreeWidgetItem(QStringList{ParameterName(tree[c].leaves[l])});
            leaf->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren);
            leaf->setCheckState(0, Qt::Unchecked);
            leaf->setData(0, kCategoryRole, c);
            leaf->setData(0, kLeafRole, l);
            leaves.append(leaf);
        }
        category->addChildren(leaves);
    }
    m_tree->addTopLevelItem(m_root);
    m_root->setExpanded(true);
    connect(m_tree, &QTreeWidget::itemChanged, this, &CDialogListElements::OnItemChanged);

    auto* help = new QPushButton(QStringLiteral("Помощь"), this);
    help->setObjectName(QStringLiteral("help"));
    m_add = new QPushButton(QStringLiteral("Добавить"), this);
    m_add->setObjectName(QStringLiteral("add"));
    m_add->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(help, &QPushButton::clicked, this, [this] { CHelpWindow::Show(this, kHelpTopic); });
    connect(m_add, &QPushButton::clicked, this, &CDialogListElements::OnAdd);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    resize(640, 560);
}

QTreeWidgetItem* CDialogListElements::CategoryItem(int category) const
{
    return m_root->child(category);
}

QTreeWidgetItem* CDialogListElements::LeafItem(int category, int leaf) const
{
    return m_root->child(category)->child(leaf);
}

void CDialogListElements::ToggleItem(QTreeWidgetItem* item)
{
    if (!item || !(item->flags() & Qt::ItemIsUserCheckable))
        return;
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

// The tree has just changed the item's own mark (a click on its check image, or the space
// key); the rule then decides the marks of its category or its leaves.
void CDialogListElements::OnItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_updating || column != 0 || item == m_root)
        return;
    const int category = item->data(0, kCategoryRole).toInt();
    const int leaf = item->data(0, kLeafRole).toInt();
    const bool checked = item->checkState(0) == Qt::Checked;
    if (leaf < 0)
        m_checks.SetCategory(category, checked);
    else
        m_checks.SetLeaf(category, leaf, checked);
    ShowChecks(category);
}

void CDialogListElements::ShowChecks(int category)
{
    m_updating = true;
    QTreeWidgetItem* item = CategoryItem(category);
    const Qt::CheckState own = State(m_checks.CategoryChecked(category));
    if (item->checkState(0) != own)
        item->setCheckState(0, own);
    for (int l = 0; l < item->childCount(); ++l) {
        QTreeWidgetItem* leaf = item->child(l);
        const Qt::CheckState state = State(m_checks.LeafChecked(category, l));
        if (leaf->checkState(0) != state)
            leaf->setCheckState(0, state);
    }
    m_updating = false;
}

void CDialogListElements::OnAdd()
{
    const QList<ParameterId> checked = m_checks.Checked();
    if (checked.size() > m_free) {
        COverGroup question(m_free, int(checked.size()), this);
        if (m_runner(question) != QDialog::Accepted)
            return;
    }
    m_chosen = FirstThatFit(checked, m_free);
    accept();
}
