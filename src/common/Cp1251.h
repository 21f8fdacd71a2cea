#pragma once
// The one Windows-1251 codec of the program. Model, file and device texts are kept as
// cp1251 bytes exactly; this converts them at the edges (GUI, command line, JSON).
#include <QByteArray>
#include <QString>

namespace cp1251 {

// Every byte maps to one character (0x98, unassigned in the code page, maps to U+FFFD).
QString Decode(QByteArrayView bytes);

// Characters without a cp1251 byte become '?'.
QByteArray Encode(QStringView text);

// True when every character of text has a cp1251 byte.
bool CanEncode(QStringView text);

} // namespace cp1251
