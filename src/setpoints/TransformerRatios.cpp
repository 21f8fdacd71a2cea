#include "TransformerRatios.h"

const QStringList& TransformerRatioEntries()
{
    static const QStringList entries = {
        QStringLiteral("1"),    QStringLiteral("60"),    QStringLiteral("63"),   QStringLiteral("66"),
        QStringLiteral("100"),  QStringLiteral("105"),   QStringLiteral("110"),  QStringLiteral("138"),
        QStringLiteral("150"),  QStringLiteral("157.5"), QStringLiteral("180"),  QStringLiteral("200"),
        QStringLiteral("240"),  QStringLiteral("270"),   QStringLiteral("350"),  QStringLiteral("1100"),
        QStringLiteral("1500"), QStringLiteral("2200"),  QStringLiteral("3300"), QStringLiteral("5000"),
        QStringLiteral("7500"),
    };
    return entries;
}
