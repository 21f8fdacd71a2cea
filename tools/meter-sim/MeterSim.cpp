#include "MeterSim.h"

#include "common/LittleEndian.h"

#include "MeterSimConfig.h"
#include "device/Frame.h"
#include "model/ConfigModel.h"
#include "setpoints/SetpointBlocks.h"

#include <QRegularExpression>

namespace {

int Key(std::uint8_t command, std::uint8_t subCommand)
{
    return (command << 8) | (subCommand & 0x7F);
}

// Status a meter gives a request it does not know.
constexpr int kStatusUnknownCommand = 4;

// A whole number in decimal or 0x hex within [low, high].
std::optional<int> FaultNumber(const QString& text, int low, int high)
{
    static const QRegularExpression form(QStringLiteral("^(-?[0-9]{1,9}|0[xX][0-9A-Fa-f]{1,8})$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const bool hex = text.size() > 1 && (text[1] == u'x' || text[1] == u'X');
    const qlonglong value = hex ? text.mid(2).toLongLong(nullptr, 16) : text.toLongLong(nullptr, 10);
    if (value < low || value > high)
        return std::nullopt;
    return int(value);
}

} // namespace

QString MeterFaultForm()
{
    return QStringLiteral("--fault KIND[=VALUE][@COMMAND[/SUB]][*COUNT], KIND one of status=N, short=N, silent, "
                          "hangup, badcheck, delay=MS, echo, garbage=N; for example status=2@0x09/0x88*3");
}

std::optional<MeterFault> ParseMeterFault(const QString& text, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<MeterFault> {
        if (error)
            *error = QStringLiteral("bad fault %1: %2").arg(text, why);
        return std::nullopt;
    };
    MeterFault f;
    QString rest = text;
    const int star = rest.indexOf(QLatin1Char('*'));
    if (star >= 0) {
        const std::optional<int> count = FaultNumber(rest.mid(star + 1), -1, 1000000);
        if (!count || *count == 0)
            return fail(QStringLiteral("COUNT is a positive number or -1, and comes last"));
        f.count = *count;
        rest.truncate(star);
    }
    const int at = rest.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QStringList target = rest.mid(at + 1).split(QLatin1Char('/'));
        const std::optional<int> command = FaultNumber(target[0], 0, 255);
        const std::optional<int> sub = target.size() == 2 ? FaultNumber(target[1], 0, 255) : std::nullopt;
        if (!command || target.size() > 2 || (target.size() == 2 && !sub))
            return fail(QStringLiteral("COMMAND and SUB are bytes such as 0x09/0x88"));
        f.command = *command;
        if (sub)
            f.subCommand = *sub;
        rest.truncate(at);
    }
    struct KindEntry {
        MeterFault::Kind kind;
        int maxValue;  // 0: takes no value
    };
    static const QHash<QString, KindEntry> kinds = {
        {QStringLiteral("status"), {MeterFault::Kind::Status, 65535}},
        {QStringLiteral("short"), {MeterFault::Kind::Short, 65535}},
        {QStringLiteral("silent"), {MeterFault::Kind::Silent, 0}},
        {QStringLiteral("hangup"), {MeterFault::Kind::Hangup, 0}},
        {QStringLiteral("badcheck"), {MeterFault::Kind::BadLinkChecksum, 0}},
        {QStringLiteral("delay"), {MeterFault::Kind::Delay, 3600000}},
        {QStringLiteral("echo"), {MeterFault::Kind::EchoMismatch, 0}},
        {QStringLiteral("garbage"), {MeterFault::Kind::Garbage, 65535}},
    };
    const int equals = rest.indexOf(QLatin1Char('='));
    const QString kind = equals < 0 ? rest : rest.left(equals);
    const auto it = kinds.constFind(kind);
    if (it == kinds.constEnd())
        return fail(QStringLiteral("unknown KIND \"%1\"").arg(kind));
    f.kind = it->kind;
    if (it->maxValue == 0) {
        if (equals >= 0)
            return fail(QStringLiteral("%1 takes no value").arg(kind));
    } else {
        const std::optional<int> value = equals < 0 ? std::nullopt : FaultNumber(rest.mid(equals + 1), 0, it->maxValue);
        if (!value)
            return fail(QStringLiteral("%1 needs a value from 0 to %2").arg(kind).arg(it->maxValue));
        f.value = *value;
    }
    return f;
}

MeterSim::MeterSim()
    : MeterSim(Options())
{
}

MeterSim::MeterSim(const Options& options)
    : m_options(options)
    , m_password1(options.password1)
    , m_password2(options.password2)
{
    static const struct { std::uint8_t command; std::uint8_t sub; } kBlocks[] = {
        {0x09, 1}, {0x09, 2}, {0x09, 3}, {0x09, 4}, {0x09, 5}, {0x09, 6}, {0x09, 7}, {0x09, 8},
        {0x0A, 1}, {0x0B, 1}, {0x0F, 1}, {0x10, 1}, {0x11, 1}, {0x13, 1}, {0x15, 1}, {0x16, 1},
    };
    for (const auto& b : kBlocks) {
        const char fill = b.command == frame::kCmdControlCode ? char(0xFF) : '\0';
        m_blocks.insert(Key(b.command, b.sub), QByteArray(BlockLength(b.command, b.sub), fill));
    }
    // A meter fresh from the factory holds the blocks of a new configuration.
    SetMeterBlocks(*this, NewConfigModel());
    SetClock(QDateTime::currentDateTime());
}

std::uint8_t MeterSim::Mode() const
{
    const QByteArray clock = m_blocks.value(Key(frame::kCmdClock, 1));
    return clock.size() > setpoints::kClockModeOffset ? std::uint8_t(clock[setpoints::kClockModeOffset]) : 0;
}

void MeterSim::SetMode(std::uint8_t mode)
{
    QByteArray& clock = m_blocks[Key(frame::kCmdClock, 1)];
    if (clock.size() < setpoints::kClockBlockSize)
        clock.resize(setpoints::kClockBlockSize, '\0');
    clock[setpoints::kClockModeOffset] = char(mode);
}

QDateTime MeterSim::Clock() const
{
    return m_clockBase.addMSecs(m_clockRunning.isValid() ? m_clockRunning.elapsed() : 0);
}

void MeterSim::SetClock(const QDateTime& time)
{
    m_clockBase = time;
    m_clockRunning.start();
}

int MeterSim::HandleWrite(std::uint8_t command, std::uint8_t subCommand, const QByteArray& data)
{
    const std::uint8_t sub = subCommand & 0x7F;
    const bool setpointWrite = command == frame::kCmdSetpoints || command == frame::kCmdClockCorrection
        || command == frame::kCmdInterfaces || command == frame::kCmdRapidVoltageChange
        || (command == frame::kCmdClock && sub == 1);
    if (setpointWrite && m_options.requireStop && Mode() != setpoints::kModeStop)
        return frame::kStatusNotStopped;

    if (command == frame::kCmdClock && sub == 1 && data.size() == setpoints::kClockSetBlockSize) {
        const auto byte = [&data](int i) { return int(std::uint8_t(data[i])); };
        const QDate date(2000 + byte(2), byte(1), byte(0));
        const QTime time(byte(3), byte(4), byte(5));
        if (!date.isValid() || !time.isValid())
            return frame::kStatusRefused;
        SetClock(QDateTime(date, time));
        return frame::kStatusOk;
    }
    if (command == frame::kCmdClock && sub == 3 && data.size() == 1) {
        // A reset clears the meter and leaves it stopped.
        const std::uint8_t code = std::uint8_t(data[0]);
        SetMode(code == setpoints::kModeReset ? setpoints::kModeStop : code);
        return frame::kStatusOk;
    }
    if (command == frame::kCmdClockCorrection && (sub == 1 || sub == 2) && data.size() == 1) {
        QByteArray& corrections = m_blocks[Key(command, 1)];
        if (corrections.size() < setpoints::kCorrectionBlockSize)
            corrections.resize(setpoints::kCorrectionBlockSize, '\0');
        corrections[sub - 1] = data[0];
        return frame::kStatusOk;
    }
    if (command == frame::kCmdNetworkAddress && data.size() == setpoints::kAddressBlockSize) {
        m_networkAddress = le::U16(data, 0);
        if (m_options.address != 0)
            m_options.address = m_networkAddress;
        return frame::kStatusOk;
    }
    const int expected = BlockLength(command, sub);
    if (expected == 0 || command == frame::kCmdClock)
        return kStatusUnknownCommand;
    if (expected != data.size())
        return frame::kStatusRefused;
    m_blocks.insert(Key(command, sub), data);
    return frame::kStatusOk;
}

int MeterSim::BlockLength(std::uint8_t command, std::uint8_t subCommand)
{
    const std::uint8_t sub = subCommand & 0x7F;
    switch (command) {
    case 0x09: {
        static const int lengths[] = {0, 28, 128, 10, 8, 200, 196, 11, 2};
        return sub >= 1 && sub <= 8 ? lengths[sub] : 0;
    }
    case 0x0A:
        return sub == 1 ? 19 : sub == 2 ? 62 : 0;
    case 0x0B:
        return sub == 1 ? 56 : 0;
    case 0x0F:
        return sub == 1 ? 2 : 0;
    case 0x10:
        return sub == 1 ? 1308 : 0;
    case 0x11:
        return sub == 1 ? 7 : 0;
    case 0x13:
        return sub == 1 ? 512 : 0;
    case 0x15:
        return sub == 1 ? 500 : 0;
    case 0x16:
        return sub == 1 ? 4 : 0;
    default:
        return 0;
    }
}

QByteArray MeterSim::Block(std::uint8_t command, std::uint8_t subCommand) const
{
    return m_blocks.value(Key(command, subCommand));
}

void MeterSim::SetBlock(std::uint8_t command, std::uint8_t subCommand, const QByteArray& bytes)
{
    m_blocks.insert(Key(command, subCommand), bytes);
}

QByteArray MeterSim::IdentityBlock() const
{
    QByteArray block(62, '\0');
    block.replace(0, 5, m_options.version1.leftJustified(5, ' ', true));
    block.replace(5, 5, m_options.version2.leftJustified(5, ' ', true));
    le::PutU16(block, 29, m_options.serial);
    for (int i = 31; i < 62; ++i)
        block[i] = char(i - 31 + 1);
    return block;
}

QByteArray MeterSim::ClockBlock() const
{
    QByteArray block = m_blocks.value(Key(frame::kCmdClock, 1));
    const QByteArray now = setpoints::EncodeClockSetBlock(Clock());
    if (block.size() >= now.size())
        block.replace(0, now.size(), now);
    return block;
}

QByteArray MeterSim::Reply(const QByteArray& request, int status, QByteArrayView data) const
{
    frame::Header h;
    frame::ParseHeader(request, &h);
    h.length = std::uint16_t(data.size());
    h.kind = frame::kKindOther;
    h.status = std::uint16_t(status);
    return frame::Build(h, data);
}

std::optional<MeterFault> MeterSim::TakeFault(std::uint8_t command, std::uint8_t subCommand)
{
    for (int i = 0; i < m_faults.size(); ++i) {
        MeterFault& f = m_faults[i];
        if ((f.command >= 0 && f.command != command) || (f.subCommand >= 0 && f.subCommand != subCommand))
            continue;
        const MeterFault taken = f;
        if (f.count > 0 && --f.count == 0)
            m_faults.removeAt(i);
        return taken;
    }
    return std::nullopt;
}

MeterReply MeterSim::Handle(const QByteArray& request)
{
    MeterReply out;
    frame::Header h;
    if (!frame::ParseHeader(request, &h))
        return out;
    if (m_requests.size() >= kMaxRecordedRequests)
        m_requests.removeFirst();
    m_requests.append(request);
    if (m_options.address != 0 && h.address != m_options.address)
        return out;  // another meter's frame: a meter on a shared line keeps quiet

    const QByteArray data = request.mid(frame::kHeaderSize, h.length);
    const std::optional<MeterFault> fault = TakeFault(h.command, h.subCommand);
    if (fault) {
        switch (fault->kind) {
        case MeterFault::Kind::Status:
            out.bytes = Reply(request, fault->value);
            return out;
        case MeterFault::Kind::Silent:
            return out;
        case MeterFault::Kind::Hangup:
            out.hangup = true;
            return out;
        case MeterFault::Kind::Garbage:
            for (int i = 0; i < fault->value; ++i)
                out.bytes.append(char((i * 37 + 11) & 0xFF));
            return out;
        default:
            break;
        }
    }

    const std::uint8_t sub = h.subCommand;
    const bool write = sub & frame::kWriteBit;
    if (h.command == frame::kCmdLinkTest) {
        char echoed = request.back();
        if (fault && fault->kind == MeterFault::Kind::BadLinkChecksum)
            echoed = char(~echoed);
        out.bytes = Reply(request, frame::kStatusOk, QByteArrayView(&echoed, 1));
    } else if (h.command == frame::kCmdPassword) {
        const QByteArray password = data.left(data.indexOf('\0') < 0 ? data.size() : data.indexOf('\0'));
        int status = frame::kStatusWrongPassword;
        if (sub == frame::kSubLoginLevel1 || sub == frame::kSubLoginLevel2) {
            const int level = sub == frame::kSubLoginLevel1 ? 1 : 2;
            if (password == Password(level)) {
                m_level = level;
                status = frame::kStatusOk;
            }
        } else if (sub == frame::kSubNewPasswordLevel1 || sub == frame::kSubNewPasswordLevel2) {
            const int level = sub == frame::kSubNewPasswordLevel1 ? 1 : 2;
            if (m_level >= level) {
                (level == 1 ? m_password1 : m_password2) = password;
                status = frame::kStatusOk;
            }
        } else {
            status = kStatusUnknownCommand;
        }
        out.bytes = Reply(request, status);
    } else if (h.command == frame::kCmdClock && sub == frame::kSubIdentify) {
        out.bytes = m_level >= 1 ? Reply(request, frame::kStatusOk, IdentityBlock())
                                 : Reply(request, frame::kStatusPasswordRequired);
    } else if (!write) {
        const auto it = m_blocks.constFind(Key(h.command, sub));
        if (it == m_blocks.constEnd())
            out.bytes = Reply(request, kStatusUnknownCommand);
        else if (m_level < 1)
            out.bytes = Reply(request, frame::kStatusPasswordRequired);
        else if (h.command == frame::kCmdClock)
            out.bytes = Reply(request, frame::kStatusOk, ClockBlock());
        else
            out.bytes = Reply(request, frame::kStatusOk, *it);
    } else {
        if (m_level < 2)
            out.bytes = Reply(request, frame::kStatusPasswordRequired);
        else
            out.bytes = Reply(request, HandleWrite(h.command, sub, data));
    }

    if (fault) {
        switch (fault->kind) {
        case MeterFault::Kind::Short:
            out.bytes.truncate(fault->value);
            out.hangup = true;
            break;
        case MeterFault::Kind::Delay:
            out.delayMs = fault->value;
            break;
        case MeterFault::Kind::EchoMismatch:
            out.bytes[frame::kCommandOffset] = char(out.bytes[frame::kCommandOffset] ^ 0x40);
            break;
        default:
            break;
        }
    }
    return out;
}

std::optional<QByteArray> FrameAssembler::Next()
{
    if (m_buffer.size() < frame::kHeaderSize)
        return std::nullopt;
    frame::Header h;
    frame::ParseHeader(m_buffer, &h);
    const int total = frame::kHeaderSize + h.length + frame::kChecksumSize;
    if (m_buffer.size() < total)
        return std::nullopt;
    QByteArray one = m_buffer.left(total);
    m_buffer.remove(0, total);
    return one;
}
