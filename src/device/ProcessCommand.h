#pragma once
// The protocol engine: every exchange with a meter (blocks, identification, logins,
// password changes, link test) is one request frame and one reply frame through here.
// Synchronous: each operation opens the link, sends, waits 100 ms, reads and closes.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class CSerial;
class UserPrompt;

// What identification returns.
struct DeviceIdentity {
    QByteArray version;    // "1.7.0 / 2.1.3" (cp1251)
    QByteArray modelName;  // "Ворант-ПКЭ-1.7" (cp1251)
    QByteArray serial;     // "12345"
    QByteArray details;    // the 31 raw detail bytes
};

// What the meter answered last: the request's command and sub-command and the reply's status.
struct ReplyStatus {
    std::uint8_t command = 0;
    std::uint8_t subCommand = 0;
    int status = 0;
};

class CProcessCommand {
public:
    explicit CProcessCommand(UserPrompt& prompt);

    void SetPortName(const QString& name) { m_portName = name; }
    void SetLinkParameter(std::uint32_t value) { m_linkParameter = value; }
    void SetDeviceAddress(std::uint16_t address) { m_deviceAddress = address; }
    void SetTransport(CSerial* link) { m_link = link; }

    // In: *length = data bytes expected. On success *length bytes are copied to destination
    // and *length becomes the number of bytes received minus 23 (data received plus two),
    // so a caller sees a short reply as a smaller length.
    bool ReadBlock(std::uint8_t command, std::uint8_t subCommand, std::uint8_t* destination,
                   std::uint16_t* length, const std::uint8_t* request = nullptr,
                   std::uint16_t requestLength = 0);
    // On success *status receives 0 (accepted), 2 (meter status 2 or 3) or 18.
    bool WriteBlock(std::uint8_t command, std::uint8_t subCommand, const std::uint8_t* data,
                    std::uint16_t length, std::uint8_t* status = nullptr);
    // How a page shows a reply shorter than its block: the same text "Сбой в процессе чтения
    // данных", in the box the page has always used for it.
    enum class ShortReadBox { Warning, Notice };
    // Reads block.size() data bytes into block; a short reply is reported in the page's box
    // and fails, so it never reaches the model.
    bool ReadWholeBlock(std::uint8_t command, std::uint8_t subCommand, QByteArray& block, ShortReadBox box);
    // Reads up to requested data bytes into block (resized and zeroed first); *reported gets
    // ReadBlock's length. For the blocks whose completeness test is not "every byte came".
    bool ReadBlockInto(std::uint8_t command, std::uint8_t subCommand, int requested, QByteArray& block,
                       int* reported = nullptr);
    bool TestLink();
    // Empty password: asks the user (level and password) through the authentication dialog.
    bool Login(const QByteArray& password);
    // levelIndex 0: first level, 1: second level.
    bool ChangePassword(int levelIndex, const QByteArray& oldPassword, const QByteArray& newPassword);
    bool Identify(DeviceIdentity* identity);

    int AccessLevel() const { return m_accessLevel; }
    const QByteArray& StoredPassword() const { return m_storedPassword; }
    const QString& PortName() const { return m_portName; }
    std::uint32_t LinkParameter() const { return m_linkParameter; }
    std::uint16_t DeviceAddress() const { return m_deviceAddress; }
    CSerial* Transport() const { return m_link; }
    UserPrompt& Prompt() const { return m_prompt; }
    // The last exchange's reply status, nullopt when its reply ended before the status (or
    // nothing was exchanged yet). Some refusals are silent here by design (a read refused
    // with status 2 or 3); a caller that must report every failure reads the cause here.
    std::optional<ReplyStatus> LastStatus() const { return m_lastStatus; }

    // The pauses of the protocol (100 ms after each request, 3 s after the third wrong
    // password). Tests replace it to record the pauses instead of sleeping.
    void SetPauseFunction(std::function<void(int milliseconds)> pause) { m_pause = std::move(pause); }

private:
    enum class ExchangeResult { Ok, OpenFailed };
    // Closes the link if open, opens it, clears the queues, writes the request, pauses,
    // reads the 25-byte head into reply. The link stays open (the caller closes it).
    ExchangeResult Exchange(const QByteArray& request, QByteArray& reply);
    void ShowOpenFailure();
    void ShowBadReply();
    void ShowReadStatus(int status);
    void ShowWriteStatus(int status);
    void ShowAddressNotice();
    void CloseLink();
    // A login or password-change frame: the reply status with the link still open (the
    // caller closes it after its pause, question or notice), or nullopt once the
    // open-failure or channel message has been shown and the link closed.
    std::optional<int> PasswordExchange(const QByteArray& request);

    UserPrompt& m_prompt;
    std::uint8_t m_accessLevel = 0;
    CSerial* m_link = nullptr;
    QByteArray m_storedPassword;
    QString m_portName;
    std::uint32_t m_linkParameter = 0;
    std::uint16_t m_deviceAddress = 0;
    std::function<void(int)> m_pause;
    std::optional<ReplyStatus> m_lastStatus;
};
