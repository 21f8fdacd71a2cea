#pragma once
// Numbers shown the way the meter's pages have always shown them: C's printf formats
// ("%.2f", "%+.2f", "%10.3f"), which round half to even on the binary value and print
// "-0.00" for a small negative number, exactly as the C library does.
#include <QString>

// One conversion of a double with a printf format such as "%.3f" or "%+.2f".
QString FormatC(const char* format, double value);

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3).
long long RoundHalfAwayFromZero(double value);

// The number at the start of a text, read the way the pages have always read their edits
// (C's atof): leading white space, a sign, digits with an optional point and exponent;
// whatever follows is ignored, and a text that starts with no number gives 0. Only
// decimal numbers count: "inf", "nan" and hexadecimal texts give 0, so no edit can put a
// value into the model that the meter's units cannot hold.
double ReadCNumber(QStringView text);
