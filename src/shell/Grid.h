#pragma once
// The row-labelled grid of the coefficient and archive pages: a table whose first column
// the owning page leaves empty, with the row labels painted over it by label type.
#include <QByteArray>
#include <QFont>
#include <QStringList>
#include <QTableWidget>

#include <optional>
#include <vector>

struct GridLabelPiece {
    bool markup = false;  // drawn by DrawMarkupLabel, otherwise as plain text
    QByteArray text;      // cp1251
    int x = 0;
    int y = 0;
};

// Which row labels a grid paints; the numbers are the label types the pages have always used.
enum class GridLabel : int {
    CoefficientHarmonics = 0,  // the coefficient page's 5 x 51 grid
    None = 1,                  // the first grid of each archive sub-page
    DayArchive = 2,            // the day archive's quantity list
    MinuteArchive = 3,         // the minute mode's quantity list
    TenMinuteArchive = 9,      // ... with Pst
    TwoHourArchive = 10,       // ... with Plt
    Harmonics = 11,            // the minute mode's harmonic grid
    HarmonicsAndInterharmonics = 12,
};

class CGrid : public QTableWidget {
public:
    explicit CGrid(QWidget* parent = nullptr);

    // Set once by the owning page before the grid is first painted.
    void SetLabelType(GridLabel type) { SetLabelType(static_cast<int>(type)); }
    void SetLabelType(int type) { m_labelType = type; viewport()->update(); }
    int LabelType() const { return m_labelType; }
    void SetLabelFont(const QFont& font) { m_font = font; viewport()->update(); }

    // The pieces painted for a label type, in drawing order (empty for unknown types).
    static const std::vector<GridLabelPiece>& LabelPieces(int type);
    // The painted row labels of a label type as plain text, one per row from the top ("δU",
    // "Ku", ...), for the accessible names of the rows' first cells.
    static QStringList RowLabelTexts(int type);
    static const std::vector<GridLabelPiece>& LabelPieces(GridLabel type) { return LabelPieces(static_cast<int>(type)); }

    // Free for the owning page; the grid itself does not use them.
    unsigned char m_flag = 0;
    int m_value = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_labelType = 0;
    std::optional<QFont> m_font;
};
