#include "LimitView.h"

#include "common/CFormat.h"
#include "model/ModelChanged.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

// The tree's own check handling would flip the box by itself; here a click on the box (or the
// space key) is handed to the page, which applies the ticking rules and redraws the boxes.
class CheckImageDelegate : public QStyledItemDelegate {
public:
    CheckImageDelegate(CLimitView* page, QTreeWidget* tree)
        : QStyledItemDelegate(tree), m_page(page), m_tree(tree)
    {
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        Q_UNUSED(model);
        if (!(index.flags() & Qt::ItemIsUserCheckable))
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !OnImage(option, index, mouse->position().toPoint()))
                return false;
            if (event->type() == QEvent::MouseButtonRelease)
                m_page->OnImageClicked(m_tree->itemFromIndex(index));
            return true;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
            m_page->OnImageClicked(m_tree->itemFromIndex(index));
            return true;
        }
        default:
            return false;
        }
    }

    QRect ImageRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    }

private:
    bool OnImage(const QStyleOptionViewItem& option, const QModelIndex& index, QPoint at) const
    {
        return ImageRect(option, index).contains(at);
    }

    CLimitView* m_page;
    QTreeWidget* m_tree;
};

QFont TreeFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    return font;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

// The model index of a tree item (QTreeWidget keeps its own lookup protected).
QModelIndex IndexOf(const QTreeWidget* tree, QTreeWidgetItem* item)
{
    if (!item)
        return {};
    QTreeWidgetItem* parent = item->parent();
    if (!parent)
        return tree->model()->index(tree->indexOfTopLevelItem(item), 0);
    return tree->model()->index(parent->indexOfChild(item), 0, IndexOf(tree, parent));
}

void SetImage(QTreeWidgetItem* item, bool ticked)
{
    const Qt::CheckState state = ticked ? Qt::Checked : Qt::Unchecked;
    if (item->checkState(0) != state)
        item->setCheckState(0, state);
}

} // namespace

CLimitView::CLimitView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CLimitView"));

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("parameterTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setFont(TreeFont());
    // Long names scroll sideways rather than being cut short.
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_delegate = new CheckImageDelegate(this, m_tree);
    m_tree->setItemDelegate(m_delegate);
    m_treeLabel = Label(QStringLiteral("Анализируемые параметры:"), m_tree, this);
    m_treeLabel->move(4, 4);
    m_tree->setAccessibleName(m_treeLabel->text());  // item views do not take their buddy's text

    // The root carries the group symbol instead of a box.
    m_root = new QTreeWidgetItem(m_tree, QStringList{QStringLiteral("Параметры")});
    m_root->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    m_root->setData(0, kKindRole, RootItem);
    m_root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const QList<ParameterCategory>& tree = ParameterTree();
    constexpr Qt::ItemFlags kCheckable = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    for (int c = 0; c < tree.size(); ++c) {
        auto* category = new QTreeWidgetItem(m_root, QStringList{tree[c].title});
        category->setData(0, kKindRole, CategoryKind);
        category->setData(0, kIndexRole, c);
        category->setFlags(kCheckable);
        category->setCheckState(0, Qt::Unchecked);
        m_categoryItems.push_back(category);
        for (int i = m_selection.FirstLeaf(c); i < m_selection.EndLeaf(c); ++i) {
            auto* leaf = new QTreeWidgetItem(category, QStringList{ParameterName(m_selection.Leaves()[std::size_t(i)].id)});
            leaf->setData(0, kKindRole, LeafKind);
            leaf->setData(0, kIndexRole, i);
            leaf->setFlags(kCheckable | Qt::ItemNeverHasChildren);
            leaf->setCheckState(0, Qt::Unchecked);
            m_leafItems.push_back(leaf);
        }
    }
    m_root->setExpanded(true);
    m_tree->setGeometry(0, 21, 350, 400);

    constexpr int kLeft = 362;
    constexpr int kEditWidth = 90;
    constexpr int kLabelLeft = kLeft + kEditWidth + 6;
    m_upper = new QLineEdit(this);
    m_upper->setObjectName(QStringLiteral("upperLimit"));
    m_upper->setGeometry(kLeft, 21, kEditWidth, 22);
    Label(QStringLiteral("- верхний предел"), m_upper, this)->setGeometry(kLabelLeft, 21, 200, 22);
    m_lower = new QLineEdit(this);
    m_lower->setObjectName(QStringLiteral("lowerLimit"));
    m_lower->setGeometry(kLeft, 51, kEditWidth, 22);
    Label(QStringLiteral("- нижний предел"), m_lower, this)->setGeometry(kLabelLeft, 51, 200, 22);
    m_interval = new QComboBox(this);
    m_interval->setObjectName(QStringLiteral("averagingInterval"));
    m_interval->addItem(QStringLiteral("150T"));
    m_interval->setCurrentIndex(0);
    m_interval->setEnabled(false);
    m_interval->setGeometry(kLeft, 81, kEditWidth, 24);
    Label(QStringLiteral("- интервал усреднения"), m_interval, this)->setGeometry(kLabelLeft, 81, 200, 24);
    m_onlySelected = new QCheckBox(QStringLiteral("Показывать только выделенное"), this);
    m_onlySelected->setObjectName(QStringLiteral("showOnlySelected"));
    m_onlySelected->setEnabled(false);
    m_onlySelected->setGeometry(kLeft, 115, 300, 22);

    auto* chosen = new QLabel(QStringLiteral("Выбрано"), this);
    chosen->setGeometry(kLeft, 147, 60, 20);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("chosenCount"));
    m_count->setAlignment(Qt::AlignCenter);
    m_count->setGeometry(kLeft + 60, 147, 30, 20);
    auto* ofFifty = new QLabel(QStringLiteral("параметра (ов) из 50 возможных."), this);
    ofFifty->setGeometry(kLeft + 92, 147, 240, 20);

    m_upper->setEnabled(false);
    m_lower->setEnabled(false);
    connect(m_upper, &QLineEdit::textChanged, this, [this](const QString& text) { OnLimitEdited(true, text); });
    connect(m_lower, &QLineEdit::textChanged, this, [this](const QString& text) { OnLimitEdited(false, text); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { ShowSelectedLimits(); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { ShowSelectedLimits(); });
    ShowCount();
}

void CLimitView::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == ToModel) {
        m_selection.Store(model.deviation_limits);
        return;
    }
    m_selection.Load(model.deviation_limits);
    // Nothing stays selected, so the edits never show (nor rewrite) limits of before.
    m_tree->setCurrentItem(nullptr);
    ShowSelectedLimits();
    ShowImages();
    ShowCount();
}

void CLimitView::ContributeHooks(PageHooks& hooks, ConfigModel& model)
{
    hooks.storePage = [this, &model] { ExchangeWithModel(model, ToModel); };
    hooks.loadPage = [this, &model] {
        ExchangeWithModel(model, ToPage);
        m_onlySelected->setChecked(false);
    };
}

void CLimitView::LayoutStretchingControls(const QRect& page, const QRect& client)
{
    Q_UNUSED(client);
    const int bottom = page.y() + page.height();
    m_tree->setGeometry(page.left(), page.top(), 350 - page.left(), bottom - 22 - page.top());
}

QRect CLimitView::ImageRect(QTreeWidgetItem* item) const
{
    QStyleOptionViewItem option;
    option.initFrom(m_tree);
    option.widget = m_tree;
    option.rect = m_tree->visualItemRect(item);
    option.font = m_tree->font();
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return static_cast<CheckImageDelegate*>(m_delegate)->ImageRect(option, IndexOf(m_tree, item));
}

int CLimitView::SelectedLeaf() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || item->data(0, kKindRole).toInt() != LeafKind)
        return -1;
    return item->data(0, kIndexRole).toInt();
}

void CLimitView::ShowSelectedLimits()
{
    const int leaf = SelectedLeaf();
    m_showing = true;
    if (leaf < 0) {
        m_upper->clear();
        m_lower->clear();
        m_upper->setEnabled(false);
        m_lower->setEnabled(false);
    } else {
        // Each text goes through the edit rule, so the record keeps what is shown.
        const LimitLeaf record = m_selection.Leaves()[std::size_t(leaf)];
        m_upper->setText(FormatC("%0.2f", record.upper));
        m_lower->setText(FormatC("%0.2f", record.lower));
        m_upper->setEnabled(true);
        m_lower->setEnabled(true);
    }
    m_showing = false;
}

void CLimitView::OnLimitEdited(bool upper, const QString& text)
{
    const int leaf = SelectedLeaf();
    if (leaf < 0)
        return;
    const double value = ReadCNumber(text);
    if (upper)
        m_selection.SetUpper(leaf, value);
    else
        m_selection.SetLower(leaf, value);
    if (!m_showing)
        modelChanged().Set();
}

void CLimitView::OnImageClicked(QTreeWidgetItem* item)
{
    if (!item)
        return;
    bool changed = false;
    switch (item->data(0, kKindRole).toInt()) {
    case CategoryKind:
        changed = m_selection.ClickCategory(item->data(0, kIndexRole).toInt());
        break;
    case LeafKind:
        changed = m_selection.ClickLeaf(item->data(0, kIndexRole).toInt());
        break;
    default:
        break;
    }
    if (changed) {
        // Ticking reaches the model at the next store; without the flag a close would lose it.
        modelChanged().Set();
        ShowImages();
    }
    ShowCount();
}

void CLimitView::ShowImages()
{
    for (int c = 0; c < m_selection.CategoryCount(); ++c) {
        SetImage(m_categoryItems[std::size_t(c)], m_selection.CategoryTicked(c));
        for (int i = m_selection.FirstLeaf(c); i < m_selection.EndLeaf(c); ++i)
            SetImage(m_leafItems[std::size_t(i)], m_selection.Leaves()[std::size_t(i)].selected);
    }
}

void CLimitView::ShowCount()
{
    m_count->setText(QString::number(m_selection.ChosenCount()));
}
