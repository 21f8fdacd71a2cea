#pragma once
// What the terminal page shows of the bytes it receives and what a hexadecimal paste
// sends. The page only moves text between these functions, its boxes and its port.
#include <QByteArray>
#include <QString>
#include <QTime>

#include <optional>

// The reader takes at most this many bytes at a time; in text mode each such piece is
// shown up to its first zero byte.
constexpr int kTerminalReadSize = 8;

// A silence of at least this long before data starts a new time-stamped line.
constexpr qint64 kTimeStampGapMs = 20;

// Received bytes as the output box shows them: HEX mode "%02X " per byte; text mode each
// piece of kTerminalReadSize bytes up to its first zero byte, as cp1251 text.
QString RenderReceived(QByteArrayView bytes, bool hex);

// A pasted input box read two characters at a time as hexadecimal byte values. A pair
// that is not two hexadecimal digits (a lone last character included) ends the paste
// there. echo is what the output box gets: the bytes as lower-case "%02x".
struct HexPaste {
    QByteArray bytes;
    QString echo;
};
HexPaste ParseHexPaste(QStringView text);

// "[HH:MM:SS.mmm] "
QString TimeStampText(const QTime& time);

// Cuts the received stream into time-stamped lines: data after a silence of at least
// kTimeStampGapMs (or the first data seen) begins a new line with the time stamp; data
// closer to the previous arrival continues its line. Without stamps the text is exactly
// RenderReceived's.
class ReceivedTextFormatter {
public:
    void SetHex(bool hex) { m_hex = hex; }
    bool Hex() const { return m_hex; }
    void SetTimeStamps(bool on) { m_stamps = on; }
    bool TimeStamps() const { return m_stamps; }

    // nowMs is a monotonic clock, wallClock the time printed; outputEndsLine tells whether
    // the output box is empty or ends with a line break (no extra break is then added).
    QString Format(QByteArrayView bytes, qint64 nowMs, const QTime& wallClock, bool outputEndsLine);

private:
    bool m_hex = true;
    bool m_stamps = false;
    std::optional<qint64> m_lastArrival;
};

namespace msg {

inline QString TerminalPortBusy(const QString& port)
{
    return QStringLiteral("Не удалось открыть порт %1.\nВозможно он занят другой программой.").arg(port);
}
inline const QString kTerminalRateNotSupported = QStringLiteral("Выбранная скорость не поддерживается портом.");
inline const QString kTerminalFileNotOpened = QStringLiteral("Не удалось открыть файл.");

} // namespace msg
