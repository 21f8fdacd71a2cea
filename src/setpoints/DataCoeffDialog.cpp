#include "DataCoeffDialog.h"

#include "CoefficientRules.h"
#include "DataDeltaDialog.h"
#include "SubPageControls.h"
#include "common/CFormat.h"
#include "common/Cp1251.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "shell/Grid.h"
#include "shell/Markup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using namespace setpoints;

namespace {

constexpr int kRows = 5;
constexpr int kColumns = 51;
constexpr int kLabelColumnWidth = 110;  // 1650 twips
constexpr int kCellWidth = 53;          // 800 twips
constexpr int kHeaderRowHeight = 17;
constexpr int kRowHeight = 26;          // 400 twips
constexpr int kEditOffset = 85;
constexpr int kEditWidth = 60;
constexpr int kEditHeight = 20;

enum Row { HarmonicNormal = 1, HarmonicMax = 2, InterharmonicNormal = 3, InterharmonicMax = 4 };

const char16_t* const kRowMarkup[] = {u"K~U(n)нд~,%", u"K~U(n)пред~,%", u"K~Uig(n)нд~,%", u"K~Uig(n)пред~,%"};

struct EditPlace {
    int id;
    const char16_t* markup;
    int x;
    int y;
};

// In the order of the page's edit indices (KuMax .. K0uNormal).
constexpr EditPlace kEdits[] = {
    {1020, u"K~U пред~,%", 380, 57},  {1021, u"K~U нд~,%", 380, 30},  {1028, u"K~2u пред~,%", 180, 57},
    {1029, u"K~2u нд~,%", 180, 30},   {1026, u"K~0u пред~,%", 20, 57}, {1027, u"K~0u нд~,%", 20, 30},
};

// The model array behind a grid row, and the harmonic order of its first element.
std::array<quint16, kHarmonicCount>& RowValues(ConfigModel& m, int row)
{
    switch (row) {
    case HarmonicNormal:
        return m.harm_normal;
    case HarmonicMax:
        return m.harm_max;
    case InterharmonicNormal:
        return m.iharm_normal;
    default:
        return m.iharm_max;
    }
}

int FirstOrder(int row)
{
    return row <= HarmonicMax ? 2 : 1;
}

QTableWidgetItem* FixedItem(const QString& text, const QBrush& background)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(background);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

void ShapeGrid(CGrid* grid, int columns)
{
    grid->setRowCount(kRows);
    grid->setColumnCount(columns);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setRowHeight(0, kHeaderRowHeight);
    for (int r = 1; r < kRows; ++r)
        grid->setRowHeight(r, kRowHeight);
    grid->setColumnWidth(0, kLabelColumnWidth);
    for (int c = 1; c < columns; ++c)
        grid->setColumnWidth(c, kCellWidth);
}

} // namespace

bool CDataCoeffDialog::IsEditableCell(int row, int column)
{
    if (row < 1 || row >= kRows || column < 1 || column >= kColumns)
        return false;
    if (row <= HarmonicMax)
        return column != 1;
    return column != kColumns - 1;
}

CDataCoeffDialog::CDataCoeffDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataCoeffDialog"));

    auto* unbalance = new QGroupBox(QStringLiteral("Несимметрия"), this);
    unbalance->setGeometry(8, 6, 335, 84);
    auto* distortion = new QGroupBox(QStringLiteral("Искажения синусоидальности"), this);
    distortion->setGeometry(360, 6, 200, 84);
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        const EditPlace& place = kEdits[i];
        PlacePaintedLabel(this, QStringView(place.markup), place.x, place.y);
        m_edits[i] = PlaceEdit(this, QStringLiteral("edit%1").arg(place.id),
                               QRect(place.x + kEditOffset, place.y - 4, kEditWidth, kEditHeight),
                               MarkupPlainText(cp1251::Encode(QStringView(place.markup))));
        connect(m_edits[i], &QLineEdit::textChanged, this, [] { modelChanged().Set(); });
    }

    auto* title = new QLabel(QStringLiteral("Коэффициенты гармонической и интергармонической составляющей напряжения:"), this);
    title->move(8, 97);
    title->resize(title->sizeHint());

    // The flex grid's fixed column stays put while the cells scroll: it is a grid of its own
    // beside the cells, carrying the painted row labels.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(6, 116, 744, 140);
    m_rowLabels = new CGrid(frame);
    m_rowLabels->setObjectName(QStringLiteral("coefficientRowLabels"));
    ShapeGrid(m_rowLabels, 1);
    m_rowLabels->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowLabels->setFixedWidth(kLabelColumnWidth);
    m_rowLabels->setFocusPolicy(Qt::NoFocus);
    m_rowLabels->SetLabelType(GridLabel::CoefficientHarmonics);
    m_rowLabels->SetLabelFont(PaintedLabelFont(m_rowLabels->font()));
    m_rowLabels->setAccessibleName(QStringLiteral("n"));
    m_grid = new CGrid(frame);
    m_grid->setObjectName(QStringLiteral("coefficientGrid"));
    ShapeGrid(m_grid, kColumns);
    m_grid->SetLabelType(GridLabel::None);
    m_grid->setColumnHidden(0, true);
    m_grid->setAccessibleName(title->text());
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(m_rowLabels);
    frameLayout->addWidget(m_grid);

    const QBrush fixed = palette().button();
    for (CGrid* grid : {m_rowLabels, m_grid}) {
        grid->setItem(0, 0, FixedItem(QStringLiteral("n"), fixed));
        for (int r = 1; r < kRows; ++r) {
            QTableWidgetItem* label = FixedItem(QString(), fixed);
            // The label is painted over the cell; a screen reader gets it as the cell's text.
            label->setData(Qt::AccessibleTextRole, MarkupPlainText(cp1251::Encode(QStringView(kRowMarkup[r - 1]))));
            grid->setItem(r, 0, label);
        }
    }
    for (int c = 1; c < kColumns; ++c) {
        m_grid->setItem(0, c, FixedItem(QString::number(c), fixed));
        for (int r = 1; r < kRows; ++r) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            if (!IsEditableCell(r, c))
                cell->setFlags(Qt::ItemIsEnabled);
            m_grid->setItem(r, c, cell);
        }
    }

    m_editor = new QLineEdit(m_grid->viewport());
    m_editor->setObjectName(QStringLiteral("cellEditor"));
    m_editor->setAlignment(Qt::AlignCenter);
    m_editor->hide();

    m_auto = new QCheckBox(QStringLiteral("Коэффициенты зависят от междуфазного напряжения и схемы включения"), this);
    m_auto->setObjectName(QStringLiteral("coeffAuto"));
    m_auto->move(8, 264);
    m_auto->resize(m_auto->sizeHint());
    m_auto->setChecked(true);
    // Like every edit, ticking reaches the model only at the next store: it is a change.
    connect(m_auto, &QCheckBox::clicked, this, [] { modelChanged().Set(); });

    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) { OpenCellEditor(row, column); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] {
        if (m_editing)
            CloseCellEditor();
    });
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_editing)
            CloseCellEditor();
    });
}

QLineEdit* CDataCoeffDialog::Edit(int id) const
{
    return findChild<QLineEdit*>(QStringLiteral("edit%1").arg(id));
}

QString CDataCoeffDialog::CellText(int row, int column) const
{
    const QTableWidgetItem* item = m_grid->item(row, column);
    return item ? item->text() : QString();
}

void CDataCoeffDialog::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = m_grid->item(row, column))
        item->setText(text);
}

bool CDataCoeffDialog::OpenCellEditor(int row, int column)
{
    if (!IsEditableCell(row, column))
        return false;
    if (m_editing)
        CloseCellEditor();
    m_editRow = row;
    m_editColumn = column;
    m_editor->setGeometry(m_grid->visualItemRect(m_grid->item(row, column)));
    m_editor->setFont(m_grid->font());
    m_editor->setText(CellText(row, column));
    m_editor->setAccessibleName(QStringLiteral("%1 n = %2")
                                    .arg(MarkupPlainText(cp1251::Encode(QStringView(kRowMarkup[row - 1]))))
                                    .arg(column));
    m_focusBeforeEdit = QApplication::focusWidget();
    m_editor->show();
    m_editor->setFocus();
    m_editing = true;
    return true;
}

void CDataCoeffDialog::CloseCellEditor()
{
    // Scrolling away closes the editor as leaving the cell does; a changed text is a change
    // of the configuration either way.
    m_editing = false;
    if (m_editor->text() != CellText(m_editRow, m_editColumn)) {
        modelChanged().Set();
        SetCellText(m_editRow, m_editColumn, m_editor->text());
    }
    if (m_focusBeforeEdit)
        m_focusBeforeEdit->setFocus();
    m_editor->hide();
}

void CDataCoeffDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    quint16* fields[EditCount] = {&model.ku_max,  &model.ku_normal,  &model.k2u_max,
                                  &model.k2u_normal, &model.k0u_max, &model.k0u_normal};
    if (direction == 1) {
        const ModelChangedFlag::Preserve keep(modelChanged());
        for (std::size_t i = 0; i < m_edits.size(); ++i)
            m_edits[i]->setText(CoefficientText(*fields[i]));
        for (int r = 1; r < kRows; ++r) {
            const auto& values = RowValues(model, r);
            for (int i = 0; i < kHarmonicCount; ++i)
                SetCellText(r, FirstOrder(r) + i, CoefficientText(values[std::size_t(i)]));
        }
        m_auto->setChecked(model.coeff_auto != 0);
        return;
    }
    // A value still in the cell editor belongs to the configuration that is being stored.
    if (m_editing)
        CloseCellEditor();
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        *fields[i] = CoefficientFromText(m_edits[i]->text());
    for (int r = 1; r < kRows; ++r) {
        auto& values = RowValues(model, r);
        for (int i = 0; i < kHarmonicCount; ++i)
            values[std::size_t(i)] = CoefficientFromText(CellText(r, FirstOrder(r) + i));
    }
    model.coeff_auto = m_auto->isChecked() ? 1 : 0;
}

void CDataCoeffDialog::ApplyVoltageClass(CDataDeltaDialog& voltagePage)
{
    if (!voltagePage.VoltageChanged())
        return;
    // Until the box is ticked the change waits: ticking it later applies the table.
    if (!m_auto->isChecked())
        return;
    const VoltageClassLimits& limits = VoltageClassTable(VoltageClassFor(LineVoltsForClass(voltagePage.LineVoltageText())));
    m_edits[KuNormal]->setText(limits.kuNormalText);
    m_edits[KuMax]->setText(limits.kuMaxText);
    for (int n = kFirstHarmonic; n <= kLastHarmonic; ++n) {
        const double normal = limits.harmonicNormal[std::size_t(n - kFirstHarmonic)];
        SetCellText(HarmonicNormal, n, FormatC("%.2f", normal));
        SetCellText(HarmonicMax, n, FormatC("%.2f", MaximumFromNormal(normal)));
    }
    voltagePage.ClearVoltageChanged();
}
