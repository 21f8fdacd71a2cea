#include "CFormat.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

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

double CTextToDouble(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p != end && *p == '-')
        return 0;  // from_chars would take a second sign
    std::chars_format format = std::chars_format::general;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        format = std::chars_format::hex;
        p += 2;
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(p, end, value, format);
    if (error == std::errc::invalid_argument)
        return 0;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small: which one shows in the exponent's sign.
        const char* exponent = std::find_if(p, stop, [&](char c) {
            return format == std::chars_format::hex ? (c == 'p' || c == 'P') : (c == 'e' || c == 'E');
        });
        const bool tiny = exponent != stop && exponent + 1 != stop && exponent[1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}
