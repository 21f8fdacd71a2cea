#include "ArchiveSubPage.h"

#include "model/ModelChanged.h"
#include "shell/Grid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The flex grid's sizes in pixels: 800 twips per column, 1000 for the harmonic grid's first
// column, 360 for its data rows; other rows keep the grid's 240.
constexpr int kColumnWidth = 53;
constexpr int kHarmonicCaptionWidth = 67;
constexpr int kRowHeight = 16;
constexpr int kDataRowHeight = 24;
constexpr int kMarkPointSize = 18;

const QString kMark = QStringLiteral("*");

GridLabel LabelTypeOfQuantities(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Minute: return GridLabel::MinuteArchive;
    case ArchiveKind::TenMinute: return GridLabel::TenMinuteArchive;
    case ArchiveKind::TwoHour: return GridLabel::TwoHourArchive;
    case ArchiveKind::Day: return GridLabel::DayArchive;
    }
    return GridLabel::None;
}

// The grids' label font: MS Sans Serif at the height the sub-page gives. A bitmap font never
// came smaller than its 8-point face, so the smaller height shows at that size.
QFont GridFont(int height)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(std::max(height, 11));
    return font;
}

QTableWidgetItem* Cell(CGrid* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        item->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, column, item);
    }
    return item;
}

// The fixed first row and column look like the flex grid's.
void SetFixed(CGrid* grid, int row, int column, const QString& text)
{
    QTableWidgetItem* item = Cell(grid, row, column);
    item->setText(text);
    item->setBackground(grid->palette().button());
}

void SetMark(CGrid* grid, int row, int column, bool marked)
{
    QTableWidgetItem* item = Cell(grid, row, column);
    const QString text = marked ? kMark : QString();
    if (item->text() != text)
        item->setText(text);
}

void Shape(CGrid* grid, int rows, int columns, GridLabel labelType, const QFont& font)
{
    grid->setRowCount(rows);
    grid->setColumnCount(columns);
    grid->SetLabelType(labelType);
    grid->SetLabelFont(font);
    grid->setFont(font);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setFocusPolicy(Qt::StrongFocus);
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < columns; ++c)
        grid->setColumnWidth(c, kColumnWidth);
    for (int r = 0; r < rows; ++r)
        grid->setRowHeight(r, kRowHeight);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c)
            Cell(grid, r, c);
    }
}

// Whole grid visible without scrolling.
void FitWithoutScrolling(CGrid* grid)
{
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2 * grid->frameWidth();
    for (int c = 0; c < grid->columnCount(); ++c)
        width += grid->columnWidth(c);
    int height = 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r)
        height += grid->rowHeight(r);
    grid->setFixedSize(width, height);
}

QPixmap LegendIcon()
{
    QPixmap pixmap(kColumnWidth / 2, kRowHeight + 4);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    QFont font;
    font.setPointSize(kMarkPointSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect().adjusted(0, 4, 0, 4), Qt::AlignCenter, kMark);
    return pixmap;
}

} // namespace

CArchiveSubPage::CArchiveSubPage(ArchiveKind kind, QWidget* parent)
    : QWidget(parent)
    , m_kind(kind)
{
    const bool day = kind == ArchiveKind::Day;
    const QFont small = GridFont(8);

    m_phases = new CGrid(this);
    m_phases->setObjectName(QStringLiteral("phaseGrid"));
    Shape(m_phases, 2, kPhaseGridColumns, GridLabel::None, day ? small : GridFont(12));
    static const char* const phaseNames[] = {"Фаза", "A", "B", "C", "AB", "BC", "CA"};
    for (int c = 0; c < kPhaseGridColumns; ++c)
        SetFixed(m_phases, 0, c, QString::fromUtf8(phaseNames[c]));
    SetFixed(m_phases, 1, 0, QString());
    m_phases->setRowHeight(1, kDataRowHeight);
    FitWithoutScrolling(m_phases);
    m_phases->setAccessibleName(QStringLiteral("Фаза"));

    m_quantities = new CGrid(this);
    m_quantities->setObjectName(QStringLiteral("quantityList"));
    const int rows = QuantityRows(kind);
    Shape(m_quantities, rows, 2, LabelTypeOfQuantities(kind), small);
    const QStringList captions = CGrid::RowLabelTexts(int(LabelTypeOfQuantities(kind)));
    auto* names = new QVBoxLayout;
    names->setContentsMargins(0, m_quantities->frameWidth(), 0, 0);
    names->setSpacing(0);
    for (int r = 0; r < rows; ++r) {
        QTableWidgetItem* caption = Cell(m_quantities, r, 0);
        caption->setBackground(m_quantities->palette().button());
        caption->setData(Qt::AccessibleTextRole, r < captions.size() ? captions[r] : QString());
        caption->setData(Qt::AccessibleDescriptionRole, QuantityRowName(kind, r));
        auto* name = new QLabel(QuantityRowName(kind, r), this);
        name->setObjectName(QStringLiteral("quantityName%1").arg(r));
        name->setFixedHeight(kRowHeight);
        names->addWidget(name);
    }
    names->addStretch();
    FitWithoutScrolling(m_quantities);
    m_quantities->setAccessibleName(QStringLiteral("Параметры"));

    m_harmonics = new CGrid(this);
    m_harmonics->setObjectName(QStringLiteral("harmonicGrid"));
    const int hRows = HarmonicGridRows(kind);
    const int hColumns = HarmonicGridColumns(kind);
    Shape(m_harmonics, hRows, hColumns,
          kind == ArchiveKind::Minute ? GridLabel::Harmonics : GridLabel::HarmonicsAndInterharmonics, small);
    m_harmonics->setColumnWidth(0, kHarmonicCaptionWidth);
    SetFixed(m_harmonics, 0, 0, QStringLiteral("n"));
    const QStringList harmonicCaptions = CGrid::RowLabelTexts(m_harmonics->LabelType());
    for (int r = 1; r < hRows; ++r) {
        m_harmonics->setRowHeight(r, kDataRowHeight);
        SetFixed(m_harmonics, r, 0, QString());
        Cell(m_harmonics, r, 0)->setData(Qt::AccessibleTextRole, harmonicCaptions.value(r - 1));
    }
    for (int c = 1; c < hColumns; ++c)
        SetFixed(m_harmonics, 0, c, QString::number(HarmonicColumnHeading(kind, c)));
    m_harmonics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_harmonics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    int hHeight = 2 * m_harmonics->frameWidth() + m_harmonics->horizontalScrollBar()->sizeHint().height();
    for (int r = 0; r < hRows; ++r)
        hHeight += m_harmonics->rowHeight(r);
    m_harmonics->setFixedHeight(hHeight);
    m_harmonics->setAccessibleName(QStringLiteral("Коэффициенты"));

    // The mark cells show "*" large.
    QFont markFont = font();
    markFont.setPointSize(kMarkPointSize);
    for (int c = 1; c < kPhaseGridColumns; ++c)
        Cell(m_phases, 1, c)->setFont(markFont);
    for (int r = 0; r < rows; ++r) {
        // The large "*" sits high in its line; in the list's low rows it is kept at the top.
        Cell(m_quantities, r, 1)->setFont(markFont);
        Cell(m_quantities, r, 1)->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int r = 1; r < hRows; ++r) {
        for (int c = 1; c < hColumns; ++c)
            Cell(m_harmonics, r, c)->setFont(markFont);
    }

    m_depth = new QLabel(this);
    m_depth->setObjectName(QStringLiteral("storageDepth"));
    m_depth->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_depth->setMinimumWidth(320);

    auto* title = new QLabel(QStringLiteral("Коэффициенты"), this);
    title->setObjectName(QStringLiteral("harmonicTitle"));
    auto* legendIcon = new QLabel(this);
    legendIcon->setPixmap(LegendIcon());
    auto* legend = new QLabel(QStringLiteral("Параметр выбран для архивирования"), this);
    legend->setObjectName(QStringLiteral("legend"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_phases, 0, Qt::AlignTop);
    top->addStretch();
    top->addWidget(m_depth, 0, Qt::AlignTop);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_quantities, 0, Qt::AlignTop);
    middle->addSpacing(6);
    middle->addLayout(names);
    middle->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legendIcon);
    bottom->addWidget(legend);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(middle);
    layout->addSpacing(6);
    layout->addWidget(title);
    layout->addWidget(m_harmonics);
    layout->addLayout(bottom);
    layout->addStretch();

    // The space key acts on the current cell as a click does.
    for (CGrid* grid : {m_phases, m_quantities, m_harmonics})
        grid->installEventFilter(this);
    connect(m_phases, &QTableWidget::cellClicked, this, &CArchiveSubPage::OnPhaseClicked);
    connect(m_quantities, &QTableWidget::cellClicked, this, &CArchiveSubPage::OnQuantityClicked);
    connect(m_harmonics, &QTableWidget::cellClicked, this, &CArchiveSubPage::OnHarmonicClicked);
    ShowMarks();
    RefreshStorageDepth();
}

bool CArchiveSubPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        auto* grid = static_cast<CGrid*>(watched);
        const int row = grid->currentRow();
        const int column = grid->currentColumn();
        if (row >= 0 && column >= 0) {
            if (grid == m_phases)
                OnPhaseClicked(row, column);
            else if (grid == m_quantities)
                OnQuantityClicked(row, column);
            else
                OnHarmonicClicked(row, column);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CArchiveSubPage::SetMarks(const ArchiveMarks& marks)
{
    m_marks = marks;
    ShowMarks();
}

void CArchiveSubPage::ShowMarks()
{
    for (int c = 1; c < kPhaseGridColumns; ++c)
        SetMark(m_phases, 1, c, IsMarked(m_marks, *PhaseCellBit(c)));
    for (int r = 0; r < m_quantities->rowCount(); ++r)
        SetMark(m_quantities, r, 1, IsMarked(m_marks, *QuantityRowBit(m_kind, r)));
    for (int r = 1; r < m_harmonics->rowCount(); ++r) {
        for (int c = 1; c < m_harmonics->columnCount(); ++c) {
            const auto bit = HarmonicCellBit(m_kind, r, c);
            SetMark(m_harmonics, r, c, bit && IsMarked(m_marks, *bit));
        }
    }
}

void CArchiveSubPage::RefreshStorageDepth()
{
    m_depth->setText(StorageDepthLabel(m_kind, m_marks));
}

void CArchiveSubPage::AfterClick(bool changed)
{
    if (changed) {
        ShowMarks();
        modelChanged().Set();
    }
    RefreshStorageDepth();
}

void CArchiveSubPage::OnPhaseClicked(int row, int column)
{
    AfterClick(ClickPhaseGrid(m_marks, row, column));
}

void CArchiveSubPage::OnQuantityClicked(int row, int column)
{
    Q_UNUSED(column);
    AfterClick(ClickQuantityList(m_marks, m_kind, row));
}

void CArchiveSubPage::OnHarmonicClicked(int row, int column)
{
    AfterClick(ClickHarmonicGrid(m_marks, m_kind, row, column));
}
