#include "Grid.h"

#include "Markup.h"
#include "common/Cp1251.h"

#include <QHeaderView>
#include <QPainter>

#include <map>

namespace {

GridLabelPiece Markup(const char16_t* text, int x, int y)
{
    return {true, cp1251::Encode(QStringView(text)), x, y};
}

GridLabelPiece Plain(const char16_t* text, int x, int y)
{
    return {false, cp1251::Encode(QStringView(text)), x, y};
}

// The deviation and unbalance rows shared by the day and minute archive grids.
std::vector<GridLabelPiece> QualityRows()
{
    return {
        Markup(u"@d@", 20, 1),   Markup(u"U", 27, 1),
        Plain(u"K", 20, 17),     Plain(u"u", 27, 18),
        Plain(u"K", 20, 33),     Plain(u"0u", 27, 34),
        Plain(u"K", 20, 49),     Plain(u"2u", 27, 50),
        Markup(u"@d@", 20, 65),  Plain(u"U", 27, 65),    Plain(u"1", 34, 66),
        Markup(u"@d@", 20, 81),  Plain(u"U(1)", 27, 81),
        Markup(u"@d@", 20, 97),  Plain(u"U(+)", 27, 97),
        Markup(u"@d@", 20, 113), Plain(u"U(-)", 27, 113),
    };
}

std::map<int, std::vector<GridLabelPiece>> BuildLabelTable()
{
    std::map<int, std::vector<GridLabelPiece>> table;
    const auto kind = [](GridLabel label) { return static_cast<int>(label); };
    table[kind(GridLabel::CoefficientHarmonics)] = {
        Markup(u"K~U(n)нд~,%", 10, 23),
        Markup(u"K~U(n)пред~,%", 10, 49),
        Markup(u"K~Uig(n)нд~,%", 10, 75),
        Markup(u"K~Uig(n)пред~,%", 10, 101),
    };
    table[kind(GridLabel::None)] = {};

    auto day = QualityRows();
    for (const GridLabelPiece& piece : {
             Plain(u"Pst", 20, 129), Plain(u"Plt", 20, 145),
             Markup(u"@D@t", 19, 161), Plain(u"п", 31, 161),
             Markup(u"@D@t", 18, 177), Plain(u"пер", 30, 177),
             Markup(u"@D@t", 18, 193), Plain(u"пр", 30, 193),
             Markup(u"@D@f", 18, 209),
             Plain(u"T", 18, 225), Plain(u"рабт", 25, 225),
             Plain(u"T", 18, 241), Plain(u"прст", 25, 241)})
        day.push_back(piece);
    table[kind(GridLabel::DayArchive)] = day;
    table[kind(GridLabel::MinuteArchive)] = QualityRows();
    table[kind(GridLabel::TenMinuteArchive)] = QualityRows();
    table[kind(GridLabel::TenMinuteArchive)].push_back(Plain(u"Pst", 20, 129));
    table[kind(GridLabel::TwoHourArchive)] = QualityRows();
    table[kind(GridLabel::TwoHourArchive)].push_back(Plain(u"Plt", 20, 129));
    table[kind(GridLabel::Harmonics)] = {Markup(u"K~U(n)~", 10, 18)};
    table[kind(GridLabel::HarmonicsAndInterharmonics)] = {Markup(u"K~U(n)~", 10, 18), Markup(u"K~Uig(n)~", 10, 42)};
    return table;
}

} // namespace

CGrid::CGrid(QWidget* parent)
    : QTableWidget(parent)
{
    // The first row and column play the flex grid's fixed row and column; the headers of
    // the table itself are not used.
    horizontalHeader()->hide();
    verticalHeader()->hide();
}

const std::vector<GridLabelPiece>& CGrid::LabelPieces(int type)
{
    static const std::map<int, std::vector<GridLabelPiece>> table = BuildLabelTable();
    static const std::vector<GridLabelPiece> none;
    const auto it = table.find(type);
    return it == table.end() ? none : it->second;
}

QStringList CGrid::RowLabelTexts(int type)
{
    // The pieces of one row sit within a pixel of each other; rows are 16 pixels or more apart.
    constexpr int kSameRow = 8;
    QStringList rows;
    int rowTop = 0;
    for (const GridLabelPiece& piece : LabelPieces(type)) {
        const QString text = piece.markup ? MarkupPlainText(piece.text) : cp1251::Decode(piece.text);
        if (rows.isEmpty() || piece.y >= rowTop + kSameRow) {
            rows << text;
            rowTop = piece.y;
        } else {
            rows.last() += text;
        }
    }
    return rows;
}

void CGrid::paintEvent(QPaintEvent* event)
{
    QTableWidget::paintEvent(event);
    const std::vector<GridLabelPiece>& pieces = LabelPieces(m_labelType);
    if (pieces.empty())
        return;
    QPainter painter(viewport());
    painter.setBackground(palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Text));
    if (m_font)
        painter.setFont(*m_font);
    for (const GridLabelPiece& piece : pieces) {
        if (piece.markup)
            DrawMarkupLabel(piece.x, piece.y, piece.text, painter);
        else
            DrawPlainLabel(piece.x, piece.y, piece.text, painter);
    }
}
