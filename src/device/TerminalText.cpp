#include "TerminalText.h"

#include "common/Cp1251.h"

namespace {

int HexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

const char kUpperDigits[] = "0123456789ABCDEF";
const char kLowerDigits[] = "0123456789abcdef";

} // namespace

QString RenderReceived(QByteArrayView bytes, bool hex)
{
    QString text;
    if (hex) {
        text.reserve(bytes.size() * 3);
        for (char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            text += QLatin1Char(kUpperDigits[b >> 4]);
            text += QLatin1Char(kUpperDigits[b & 0x0F]);
            text += QLatin1Char(' ');
        }
        return text;
    }
    for (qsizetype at = 0; at < bytes.size(); at += kTerminalReadSize) {
        QByteArrayView piece = bytes.sliced(at, std::min<qsizetype>(kTerminalReadSize, bytes.size() - at));
        const qsizetype zero = piece.indexOf('\0');
        if (zero >= 0)
            piece = piece.first(zero);
        text += cp1251::Decode(piece);
    }
    return text;
}

HexPaste ParseHexPaste(QStringView text)
{
    HexPaste paste;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            break;
        paste.bytes += char(high << 4 | low);
        paste.echo += QLatin1Char(kLowerDigits[high]);
        paste.echo += QLatin1Char(kLowerDigits[low]);
    }
    return paste;
}

QString TimeStampText(const QTime& time)
{
    return QLatin1Char('[') + time.toString(QStringLiteral("HH:mm:ss.zzz")) + QStringLiteral("] ");
}

QString ReceivedTextFormatter::Format(QByteArrayView bytes, qint64 nowMs, const QTime& wallClock, bool outputEndsLine)
{
    if (bytes.isEmpty())
        return {};
    const bool newChunk = !m_lastArrival || nowMs - *m_lastArrival >= kTimeStampGapMs;
    m_lastArrival = nowMs;
    const QString text = RenderReceived(bytes, m_hex);
    if (!m_stamps || !newChunk)
        return text;
    return (outputEndsLine ? QString() : QStringLiteral("\n")) + TimeStampText(wallClock) + text;
}
