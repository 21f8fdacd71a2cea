#include "FrameTrace.h"

#include "Frame.h"
#include "common/LittleEndian.h"

#include <QIODevice>
#include <QStringList>

namespace frametrace {
namespace {

struct Meaning {
    std::uint8_t command;
    std::uint8_t subCommand;
    const char16_t* text;
};

// Frames whose sub-command means more than "read" or "write this block".
constexpr Meaning kExact[] = {
    {frame::kCmdLinkTest, 0x00, u"проверка связи"},
    {frame::kCmdClock, frame::kSubIdentify, u"идентификация"},
    {frame::kCmdClock, 0x81, u"запись: часы"},
    {frame::kCmdClock, 0x83, u"запись: режим работы"},
    {frame::kCmdPassword, frame::kSubLoginLevel1, u"вход, первый уровень"},
    {frame::kCmdPassword, frame::kSubLoginLevel2, u"вход, второй уровень"},
    {frame::kCmdPassword, frame::kSubNewPasswordLevel1, u"смена пароля первого уровня"},
    {frame::kCmdPassword, frame::kSubNewPasswordLevel2, u"смена пароля второго уровня"},
    {frame::kCmdClockCorrection, 0x81, u"запись: автоматическая коррекция часов"},
    {frame::kCmdClockCorrection, 0x82, u"запись: программная коррекция часов"},
};

// Blocks by their read sub-command; the write sub-command has bit 7 set.
constexpr Meaning kBlocks[] = {
    {frame::kCmdSetpoints, 1, u"уставки, время"},
    {frame::kCmdSetpoints, 2, u"уставки, напряжение"},
    {frame::kCmdSetpoints, 3, u"уставки, частота"},
    {frame::kCmdSetpoints, 4, u"уставки, несимметрия"},
    {frame::kCmdSetpoints, 5, u"уставки, гармоники"},
    {frame::kCmdSetpoints, 6, u"уставки, интергармоники"},
    {frame::kCmdSetpoints, 7, u"уставки, расчёт"},
    {frame::kCmdSetpoints, 8, u"уставки, усреднение"},
    {frame::kCmdClock, 1, u"часы и режим работы"},
    {frame::kCmdArchive, 1, u"архивируемые данные"},
    {frame::kCmdNetworkAddress, 1, u"сетевой адрес"},
    {frame::kCmdClockCorrection, 1, u"коррекция часов"},
    {frame::kCmdGroups, 1, u"группы параметров"},
    {frame::kCmdInterfaces, 1, u"интерфейсы"},
    {frame::kCmdControlCode, 1, u"управляющий код импульсных входов/выходов"},
    {frame::kCmdDeviationLimits, 1, u"пределы отклонений"},
    {frame::kCmdRapidVoltageChange, 1, u"быстрые изменения напряжения"},
};

QString Hex2(int value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')); }

} // namespace

FrameFacts Examine(const FrameEvent& event)
{
    FrameFacts f;
    f.sent = event.direction == FrameEvent::Direction::Sent;
    f.size = int(event.bytes.size());
    frame::Header header;
    f.hasHeader = frame::ParseHeader(event.bytes, &header);
    if (f.hasHeader) {
        f.command = header.command;
        f.subCommand = header.subCommand;
        f.dataLength = header.length;
        f.status = header.status;
        const int body = frame::kHeaderSize + f.dataLength;
        if (f.size > body)
            f.checksum = frame::Checksum(QByteArrayView(event.bytes).first(body)) == std::uint8_t(event.bytes[body])
                ? ChecksumState::Match
                : ChecksumState::Mismatch;
    }
    if (f.sent)
        return f;

    f.awaited = event.awaited;
    f.shortReply = f.size < event.awaited;
    frame::Header asked;
    if (frame::ParseHeader(event.request, &asked)) {
        f.requestCommand = asked.command;
        f.requestSubCommand = asked.subCommand;
        if (f.hasHeader) {
            f.echoMismatch = f.command != asked.command || f.subCommand != asked.subCommand;
            // A link test answers with the checksum of its request right behind the header.
            if (asked.command == frame::kCmdLinkTest && f.size > frame::kHeaderSize && !event.request.isEmpty())
                f.linkEchoMismatch = event.bytes[frame::kHeaderSize] != event.request.back();
        }
    }
    return f;
}

QString CommandCode(std::uint8_t command, std::uint8_t subCommand)
{
    return Hex2(command) + QLatin1Char('/') + Hex2(subCommand);
}

QString CommandMeaning(std::uint8_t command, std::uint8_t subCommand)
{
    for (const Meaning& m : kExact) {
        if (m.command == command && m.subCommand == subCommand)
            return QString::fromUtf16(m.text);
    }
    const bool write = subCommand & frame::kWriteBit;
    const std::uint8_t block = subCommand & ~frame::kWriteBit;
    for (const Meaning& m : kBlocks) {
        if (m.command == command && m.subCommand == block)
            return (write ? QStringLiteral("запись: ") : QStringLiteral("чтение: ")) + QString::fromUtf16(m.text);
    }
    return QStringLiteral("неизвестная команда");
}

QString StatusMeaning(int status)
{
    switch (status) {
    case frame::kStatusOk:
        return QStringLiteral("выполнено");
    case frame::kStatusRefused:
    case frame::kStatusRefusedToo:
        return QStringLiteral("отказ");
    case frame::kStatusBusy:
        return QStringLiteral("прибор занят");
    case frame::kStatusPasswordRequired:
        return QStringLiteral("нужен пароль");
    case frame::kStatusNotAllWritten:
        return QStringLiteral("записаны не все данные");
    case frame::kStatusWrongPassword:
        return QStringLiteral("неверный пароль");
    case frame::kStatusNotStopped:
        return QStringLiteral("прибор не в режиме СТОП");
    default:
        return QString();
    }
}

QStringList Findings(const FrameFacts& f)
{
    QStringList out;
    if (!f.sent && f.size == 0) {
        out << QStringLiteral("нет ответа");
        return out;
    }
    if (f.shortReply)
        out << QStringLiteral("короткий ответ: %1 из %2 байт").arg(f.size).arg(f.awaited);
    if (f.checksum == ChecksumState::Mismatch)
        out << QStringLiteral("контрольная сумма не совпадает");
    if (f.echoMismatch)
        out << QStringLiteral("ответ на другую команду (запрос %1)").arg(CommandCode(f.requestCommand, f.requestSubCommand));
    if (f.linkEchoMismatch)
        out << QStringLiteral("проверка связи вернула другую контрольную сумму");
    return out;
}

QString Describe(const FrameFacts& f)
{
    QStringList parts;
    if (f.hasHeader) {
        parts << CommandCode(f.command, f.subCommand) + QLatin1Char(' ') + CommandMeaning(f.command, f.subCommand);
        if (!f.sent) {
            const QString meaning = StatusMeaning(f.status);
            parts << (meaning.isEmpty() ? QStringLiteral("статус %1").arg(f.status)
                                        : QStringLiteral("статус %1 (%2)").arg(f.status).arg(meaning));
        }
        if (f.dataLength > 0)
            parts << QStringLiteral("длина данных %1").arg(f.dataLength);
    } else if (!f.sent) {
        parts << QStringLiteral("ответ на ") + CommandCode(f.requestCommand, f.requestSubCommand) + QLatin1Char(' ')
                + CommandMeaning(f.requestCommand, f.requestSubCommand);
    }
    for (const QString& finding : Findings(f))
        parts << QStringLiteral("! ") + finding;
    return parts.join(QStringLiteral(", "));
}

QString HexPairs(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex(' '));
}

QString TraceLine(double seconds, const FrameEvent& event, const FrameFacts& facts)
{
    QString line = QString::number(seconds, 'f', 3)
        + (event.direction == FrameEvent::Direction::Sent ? QStringLiteral(" TX ") : QStringLiteral(" RX "))
        + HexPairs(event.bytes);
    const QString description = Describe(facts);
    if (!description.isEmpty())
        line += QStringLiteral("  # ") + description;
    return line;
}

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start, std::chrono::steady_clock::time_point at)
{
    return std::chrono::duration<double>(at - start).count();
}

} // namespace

TraceWriter::TraceWriter(QIODevice& out, std::chrono::steady_clock::time_point start)
    : m_out(out)
    , m_start(start)
{
}

void TraceWriter::OnFrame(const FrameEvent& event)
{
    const QString line = TraceLine(SecondsSince(m_start, event.time), event, Examine(event)) + QLatin1Char('\n');
    m_out.write(line.toUtf8());
}

FrameLog::FrameLog(int capacity, std::chrono::steady_clock::time_point start)
    : m_capacity(capacity > 0 ? capacity : 1)
    , m_start(start)
{
}

void FrameLog::DropOldest()
{
    if (!m_frames.empty())
        m_frames.pop_front();
}

void FrameLog::Append(const FrameEvent& event)
{
    while (Full())
        DropOldest();
    m_frames.push_back(LoggedFrame{SecondsSince(m_start, event.time), event, Examine(event)});
}

QString FrameLog::Lines(int first, int last) const
{
    QString out;
    for (int i = std::max(0, first); i <= last && i < Size(); ++i) {
        const LoggedFrame& f = At(i);
        out += TraceLine(f.seconds, f.event, f.facts) + QLatin1Char('\n');
    }
    return out;
}

} // namespace frametrace
