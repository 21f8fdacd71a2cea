#include "CFormat.h"

#include <clocale>
#include <cmath>
#include <cstdio>

QString FormatC(const char* format, double value)
{
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0)
        return QString();
    QString text = QString::fromLatin1(buffer, std::min(length, int(sizeof buffer) - 1));
    // The application may run under a locale with a decimal comma; the pages always show a
    // point.
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] && point[0] != '.')
        text.replace(QString::fromLocal8Bit(point), QStringLiteral("."));
    return text;
}

long long RoundHalfAwayFromZero(double value)
{
    return std::llround(value);
}
