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

double ReadCNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    const qsizetype start = i;
    auto isDigit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when digits follow it ("5e" reads 5).
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < n && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        if (isDigit(k)) {
            while (isDigit(k))
                ++k;
            i = k;
        }
    }
    bool ok = false;
    const double value = text.sliced(start, i - start).toLatin1().toDouble(&ok);
    // Out of range of a double: the text is no number the meter could hold.
    return ok ? value : 0.0;
}
