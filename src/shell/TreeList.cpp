#include "TreeList.h"

#include "common/Cp1251.h"

namespace {
constexpr int kColumns = 5;
constexpr int kDataRole = Qt::UserRole;

QFont ListFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

CTreeList::CTreeList(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(kColumns);
    setRootIsDecorated(false);
}

void CTreeList::Initialise()
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid); border-bottom: 1px solid palette(mid); }"));
    m_normalFont = ListFont();
    // Qt fonts cover every script; the Greek font differs only in how the row's bytes are
    // turned into characters (GreekText).
    m_greekFont = ListFont();
    setFont(m_normalFont);
}

QTreeWidgetItem* CTreeList::InsertGroupRow(int index, const QByteArray& number, const QByteArray& name)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, cp1251::Decode(number));
    item->setText(1, cp1251::Decode(name));
    item->setData(0, kDataRole, qint64(number.toInt()) - 1);
    insertTopLevelItem(index, item);
    return item;
}

QTreeWidgetItem* CTreeList::InsertParameterRow(int index, const QByteArray& number, const QByteArray& name,
                                               const QByteArray& designation, qint64 itemData, bool greek)
{
    auto* item = new QTreeWidgetItem;
    item->setText(2, cp1251::Decode(number));
    item->setText(3, cp1251::Decode(name));
    if (greek) {
        item->setText(4, GreekText(designation));
        item->setFont(4, m_greekFont);
    } else {
        item->setText(4, cp1251::Decode(designation));
    }
    item->setData(0, kDataRole, itemData);
    insertTopLevelItem(index, item);
    return item;
}

qint64 CTreeList::ItemData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kDataRole).toLongLong() : 0;
}

QString CTreeList::GreekText(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0xE1 && b <= 0xFE)
            out += QChar(char16_t(0x03B1 + (b - 0xE1)));
        else if (b >= 0xC1 && b <= 0xD1)
            out += QChar(char16_t(0x0391 + (b - 0xC1)));
        else if (b >= 0xD3 && b <= 0xD9)
            out += QChar(char16_t(0x03A3 + (b - 0xD3)));
        else
            out += cp1251::Decode(QByteArrayView(&c, 1));
    }
    return out;
}
