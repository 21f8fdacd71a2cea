#include "ProcessCommand.h"

#include "CSerial.h"
#include "DeviceMessages.h"
#include "Frame.h"
#include "common/Cp1251.h"
#include "common/LittleEndian.h"
#include "common/UserPrompt.h"

#include <QThread>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kReplyPauseMs = 100;
constexpr int kWrongPasswordPauseMs = 3000;
constexpr int kMaxLogins = 3;
constexpr int kMaxPasswordLength = 10;
constexpr std::uint16_t kIdentityLength = 62;
constexpr int kSerialOffset = 29;

// The status of a reply of at least a header's length.
int StatusOf(const QByteArray& reply)
{
    frame::Header header;
    frame::ParseHeader(reply, &header);
    return header.status;
}

} // namespace

CProcessCommand::CProcessCommand(UserPrompt& prompt)
    : m_prompt(prompt)
    , m_pause([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); })
{
}

void CProcessCommand::ShowOpenFailure() { m_prompt.Error(msg::OpenFailure(m_portName)); }
void CProcessCommand::ShowBadReply() { m_prompt.Error(msg::kBadReply); }
void CProcessCommand::ShowReadStatus(int status) { m_prompt.Error(msg::ReadStatus(status)); }
void CProcessCommand::ShowWriteStatus(int status) { m_prompt.Error(msg::WriteStatus(status)); }
void CProcessCommand::ShowAddressNotice() { m_prompt.PlainNotice(msg::kAddressRange); }

void CProcessCommand::CloseLink()
{
    if (m_link)
        m_link->Close();
}

CProcessCommand::ExchangeResult CProcessCommand::Exchange(const QByteArray& request, QByteArray& reply)
{
    if (m_link->IsOpen())
        m_link->Close();
    m_lastStatus.reset();
    if (!m_link->Open(m_portName, m_linkParameter))
        return ExchangeResult::OpenFailed;
    m_link->ClearTransmitQueue();
    m_link->ClearReceiveQueue();
    m_link->Write(reinterpret_cast<const std::uint8_t*>(request.constData()), std::uint32_t(request.size()));
    m_pause(kReplyPauseMs);
    reply = QByteArray(frame::kReplyHeadSize, '\0');
    const std::uint32_t got = m_link->Read(reinterpret_cast<std::uint8_t*>(reply.data()), frame::kReplyHeadSize);
    reply.truncate(int(std::min<std::uint32_t>(got, frame::kReplyHeadSize)));
    if (reply.size() >= frame::kHeaderSize)
        m_lastStatus = ReplyStatus{std::uint8_t(request[frame::kCommandOffset]),
                                   std::uint8_t(request[frame::kSubCommandOffset]), StatusOf(reply)};
    return ExchangeResult::Ok;
}

bool CProcessCommand::ReadBlock(std::uint8_t command, std::uint8_t subCommand, std::uint8_t* destination,
                                std::uint16_t* length, const std::uint8_t* request, std::uint16_t requestLength)
{
    if (!m_link || !destination || !length || *length == 0)
        return false;
    if (m_deviceAddress == 0) {
        ShowAddressNotice();
        return false;
    }
    if (m_accessLevel == 0 && !Login(QByteArray()))
        return false;

    const std::uint16_t requested = *length;
    const QByteArrayView requestData(reinterpret_cast<const char*>(request), request ? requestLength : 0);
    int logins = 0;
    for (;;) {
        const QByteArray frameOut
            = frame::BuildRequest(command, subCommand, m_deviceAddress, frame::kKindOther, requestData);
        QByteArray reply;
        if (Exchange(frameOut, reply) == ExchangeResult::OpenFailed) {
            ShowOpenFailure();
            return false;
        }
        if (reply.size() < frame::kHeaderSize || std::uint8_t(reply[frame::kCommandOffset]) != command
            || std::uint8_t(reply[frame::kSubCommandOffset]) != subCommand) {
            CloseLink();
            ShowBadReply();
            return false;
        }
        const int status = StatusOf(reply);
        switch (status) {
        case frame::kStatusOk: {
            // The rest of the reply goes right behind what has arrived so far; the buffer
            // starts zeroed so a reply that ends early never delivers leftover bytes.
            const int total0 = int(reply.size());
            reply.resize(total0 + requested, '\0');
            const std::uint32_t more
                = m_link->Read(reinterpret_cast<std::uint8_t*>(reply.data()) + total0, requested);
            const int total = total0 + int(std::min<std::uint32_t>(more, requested));
            CloseLink();
            *length = std::uint16_t(total - (frame::kHeaderSize - 1));
            const int available = total - frame::kHeaderSize;
            const int copied = std::min<int>(requested, available);
            std::memset(destination, 0, requested);
            if (copied > 0)
                std::memcpy(destination, reply.constData() + frame::kHeaderSize, size_t(copied));
            return true;
        }
        case frame::kStatusRefused:
        case frame::kStatusRefusedToo:
            CloseLink();
            return false;
        case frame::kStatusBusy:
            CloseLink();
            m_prompt.PlainNotice(msg::kBusy);
            return false;
        case frame::kStatusPasswordRequired:
            CloseLink();
            if (!Login(m_storedPassword))
                return false;
            if (++logins < kMaxLogins)
                continue;
            // The meter still wants a password after three logins: nothing was read.
            ShowReadStatus(status);
            return false;
        default:
            CloseLink();
            ShowReadStatus(status);
            return false;
        }
    }
}

bool CProcessCommand::WriteBlock(std::uint8_t command, std::uint8_t subCommand, const std::uint8_t* data,
                                 std::uint16_t length, std::uint8_t* status)
{
    if (!m_link || !data || length == 0)
        return false;
    if (m_deviceAddress == 0) {
        ShowAddressNotice();
        return false;
    }
    if (m_accessLevel == 0 && !Login(QByteArray()))
        return false;
    if (m_accessLevel != 2) {
        if (!m_prompt.AskYesNo(msg::kNeedSecondLevel))
            return false;
        if (!Login(QByteArray()))
            return false;
    }

    const QByteArrayView payload(reinterpret_cast<const char*>(data), length);
    int logins = 0;
    for (;;) {
        const QByteArray frameOut = frame::BuildRequest(command, subCommand, m_deviceAddress, frame::kKindWrite, payload);
        QByteArray reply;
        if (Exchange(frameOut, reply) == ExchangeResult::OpenFailed) {
            ShowOpenFailure();
            return false;
        }
        CloseLink();
        if (reply.size() < frame::kHeaderSize) {
            ShowBadReply();
            return false;
        }
        const int replyStatus = StatusOf(reply);
        switch (replyStatus) {
        case frame::kStatusOk:
            if (status)
                *status = 0;
            return true;
        case frame::kStatusRefused:
        case frame::kStatusRefusedToo:
            if (status)
                *status = 2;
            return true;
        case frame::kStatusBusy:
            m_prompt.PlainNotice(msg::kBusy);
            return false;
        case frame::kStatusPasswordRequired:
            if (!Login(m_storedPassword))
                return false;
            if (++logins < kMaxLogins)
                continue;
            // Still refused after three logins: the block was not written.
            ShowWriteStatus(replyStatus);
            return false;
        case frame::kStatusNotAllWritten:
            return m_prompt.AskOkCancel(msg::kNotAllWrittenContinue, QuestionIcon::Error);
        case frame::kStatusNotStopped:
            if (status)
                *status = 18;
            return true;
        default:
            ShowWriteStatus(replyStatus);
            return false;
        }
    }
}

bool CProcessCommand::TestLink()
{
    if (!m_link)
        return false;
    const QByteArray request = frame::BuildRequest(frame::kCmdLinkTest, 0x00, m_deviceAddress, frame::kKindOther);
    const char sent = request.back();
    QByteArray reply;
    if (Exchange(request, reply) == ExchangeResult::OpenFailed) {
        m_prompt.Error(msg::kTestLinkOpenFailure);
        return false;
    }
    CloseLink();
    if (reply.size() < frame::kReplyHeadSize) {
        ShowBadReply();
        return false;
    }
    if (reply[frame::kHeaderSize] != sent) {
        m_prompt.Error(msg::kRateErrors);
        return false;
    }
    return true;
}

std::optional<int> CProcessCommand::PasswordExchange(const QByteArray& request)
{
    QByteArray reply;
    if (Exchange(request, reply) == ExchangeResult::OpenFailed) {
        ShowOpenFailure();
        return std::nullopt;
    }
    if (reply.size() < frame::kReplyHeadSize) {
        m_prompt.Notice(msg::kLoginChannelFailure);
        CloseLink();
        return std::nullopt;
    }
    // The link stays open: the caller closes it after its pause, question or notice.
    return StatusOf(reply);
}

bool CProcessCommand::Login(const QByteArray& password)
{
    if (!m_link)
        return false;
    for (int attempt = 0;; ++attempt) {
        QByteArray toSend;
        int level = 1;
        if (password.isEmpty()) {
            const std::optional<Credentials> typed = m_prompt.Authenticate();
            if (!typed)
                return false;
            m_storedPassword.clear();
            toSend = typed->password;
            level = typed->level == 2 ? 2 : 1;
        } else {
            toSend = password;
            level = m_accessLevel == 2 ? 2 : 1;
        }
        // The frame has room for ten characters; a longer password is refused rather than
        // cut, so the meter never sees a password the user did not type.
        if (toSend.size() > kMaxPasswordLength) {
            m_prompt.Notice(msg::kPasswordTooLong);
            return false;
        }
        QByteArray data = toSend;
        data.append('\0');
        const QByteArray request = frame::BuildRequest(
            frame::kCmdPassword, level == 1 ? frame::kSubLoginLevel1 : frame::kSubLoginLevel2, m_deviceAddress,
            frame::kKindOther, data);
        const std::optional<int> status = PasswordExchange(request);
        if (!status)
            return false;
        if (*status == frame::kStatusWrongPassword) {
            if (attempt == kMaxLogins - 1) {
                m_pause(kWrongPasswordPauseMs);
                CloseLink();
                return false;
            }
            if (!m_prompt.AskYesNo(msg::kLoginWrongPassword)) {
                CloseLink();
                return false;
            }
            continue;  // the next exchange closes the link first
        }
        if (*status == frame::kStatusOk) {
            m_accessLevel = std::uint8_t(level);
            m_storedPassword = toSend;
        }
        CloseLink();
        return true;
    }
}

bool CProcessCommand::ChangePassword(int levelIndex, const QByteArray& oldPassword, const QByteArray& newPassword)
{
    if (!m_link)
        return false;
    if (m_deviceAddress == 0) {
        ShowAddressNotice();
        return false;
    }
    m_accessLevel = std::uint8_t(levelIndex + 1);
    if (!oldPassword.isEmpty() && !Login(oldPassword))
        return false;
    if (newPassword.size() > kMaxPasswordLength) {
        m_prompt.Notice(msg::kPasswordTooLong);
        return false;
    }
    QByteArray data = newPassword;
    data.append('\0');
    const QByteArray request = frame::BuildRequest(
        frame::kCmdPassword, levelIndex == 0 ? frame::kSubNewPasswordLevel1 : frame::kSubNewPasswordLevel2,
        m_deviceAddress, frame::kKindOther, data);
    for (int attempt = 0;;) {
        const std::optional<int> status = PasswordExchange(request);
        if (!status)
            return false;
        if (*status != frame::kStatusOk) {
            if (!m_prompt.AskYesNo(msg::kChangeWrongPassword)) {
                CloseLink();
                return false;
            }
            if (++attempt < kMaxLogins)
                continue;  // the same frame again; the exchange closes the link first
            // Three refusals: the meter never took the new password.
            CloseLink();
            return false;
        }
        m_accessLevel = std::uint8_t(levelIndex + 1);
        m_prompt.Notice(msg::PasswordChanged(levelIndex + 1));
        m_storedPassword = newPassword;
        CloseLink();
        return true;
    }
}

bool CProcessCommand::ReadBlockInto(std::uint8_t command, std::uint8_t subCommand, int requested, QByteArray& block,
                                    int* reported)
{
    block = QByteArray(requested, '\0');
    std::uint16_t length = std::uint16_t(requested);
    if (!ReadBlock(command, subCommand, reinterpret_cast<std::uint8_t*>(block.data()), &length))
        return false;
    if (reported)
        *reported = length;
    return true;
}

bool CProcessCommand::ReadWholeBlock(std::uint8_t command, std::uint8_t subCommand, QByteArray& block,
                                     ShortReadBox box)
{
    int reported = 0;
    if (!ReadBlockInto(command, subCommand, int(block.size()), block, &reported))
        return false;
    if (reported < block.size()) {
        if (box == ShortReadBox::Warning)
            m_prompt.Warning(msg::kReadFailure);
        else
            m_prompt.Notice(msg::kReadFailure);
        return false;
    }
    return true;
}

bool CProcessCommand::Identify(DeviceIdentity* identity)
{
    QByteArray block(kIdentityLength, '\0');
    if (!ReadWholeBlock(frame::kCmdClock, frame::kSubIdentify, block, ShortReadBox::Notice))
        return false;
    if (identity) {
        const char* raw = block.constData();
        identity->version = QByteArray(raw, 5) + " / " + QByteArray(raw + 5, 5);
        identity->modelName = cp1251::Encode(u"Ворант-ПКЭ-") + identity->version.left(3);
        identity->serial = QByteArray::number(le::U16(QByteArrayView(block), kSerialOffset));
        identity->details = QByteArray(raw + 31, 31);
    }
    return true;
}
