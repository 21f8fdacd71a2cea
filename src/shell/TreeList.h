#pragma once
// The list of the group page: group rows (number, name) and parameter rows (number, name,
// designation) in one five-column list with full-row selection and grid lines.
#include <QByteArray>
#include <QFont>
#include <QTreeWidget>

class CTreeList : public QTreeWidget {
public:
    explicit CTreeList(QWidget* parent = nullptr);

    // Full-row selection and grid lines; the normal font becomes the list's font.
    void Initialise();

    // Texts are cp1251. The row's item data is the number's value minus one.
    QTreeWidgetItem* InsertGroupRow(int index, const QByteArray& number, const QByteArray& name);
    // A Greek row shows its designation in the Greek code page, so a designation starting
    // with the byte 0xE4 shows the small delta.
    QTreeWidgetItem* InsertParameterRow(int index, const QByteArray& number, const QByteArray& name,
                                        const QByteArray& designation, qint64 itemData, bool greek);

    static qint64 ItemData(const QTreeWidgetItem* item);
    // cp1251 bytes as the Greek code page shows them (0xE1..0xFE small letters, 0xC1..0xD9
    // capitals); other bytes as in cp1251.
    static QString GreekText(QByteArrayView bytes);

    const QFont& NormalFont() const { return m_normalFont; }
    const QFont& GreekFont() const { return m_greekFont; }

    // Used by the group page only.
    QByteArray m_text;
    unsigned char m_slots[6][16] = {};
    unsigned char m_marker = 37;

private:
    QFont m_normalFont;
    QFont m_greekFont;
};
