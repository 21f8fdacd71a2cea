#pragma once
// Numbers shown the way the meter's pages have always shown them: C's printf formats
// ("%.2f", "%+.2f", "%10.3f"), which round half to even on the binary value and print
// "-0.00" for a small negative number, exactly as the C library does.
#include <QString>

// One conversion of a double with a printf format such as "%.3f" or "%+.2f".
QString FormatC(const char* format, double value);

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3).
long long RoundHalfAwayFromZero(double value);

// What C's atof makes of a text, independent of the locale: leading blanks skipped, the
// longest number at the start taken ("1.5abc" is 1.5), 0 when the text does not start with a
// number; out of range gives an infinity (or 0 when too small).
double CTextToDouble(const QString& text);
