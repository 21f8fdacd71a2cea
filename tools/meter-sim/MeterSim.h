#pragma once
// The virtual meter's core: it keeps the meter's blocks in memory, checks passwords of both
// levels and answers every request frame the way a meter does. The program (main.cpp) serves
// it over TCP and a pseudo-terminal; tests drive it in-process through MemoryLink.
#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

struct MeterFault {
    enum class Kind {
        Status,           // answer with this status and no data
        Short,            // cut the reply to `value` bytes (a TCP peer then hangs up)
        Silent,           // send nothing
        Hangup,           // send nothing and close the connection
        BadLinkChecksum,  // link test: echo a wrong checksum
        Delay,            // answer `value` ms late
        EchoMismatch,     // answer with another command byte
        Garbage,          // answer with `value` bytes that are no frame
    };
    Kind kind = Kind::Status;
    int value = 0;
    int count = 1;         // how many replies it affects; -1 for all
    int command = -1;      // only requests with this command; -1 for any
    int subCommand = -1;   // and this sub-command; -1 for any
};

// The command-line form of a fault: KIND[=VALUE][@COMMAND[/SUB]][*COUNT], for example
// status=7, short=10@0x0A, silent*3, delay=500*-1, status=2@0x09/0x88. Kinds that need a
// value (status, short, delay, garbage) must have one, the others must not; COMMAND and SUB
// are bytes (decimal or 0x hex), COUNT is a positive number or -1 for every reply. Anything
// else is refused with *error saying what is wrong.
std::optional<MeterFault> ParseMeterFault(const QString& text, QString* error);
// The accepted form, for a usage message.
QString MeterFaultForm();

struct MeterReply {
    QByteArray bytes;
    int delayMs = 0;
    bool hangup = false;   // close the connection after sending
};

class MeterSim {
public:
    struct Options {
        std::uint16_t serial = 12345;
        QByteArray version1 = "1.7.0";
        QByteArray version2 = "2.1.3";
        QByteArray password1 = "1111";
        QByteArray password2 = "2222";
        std::uint16_t address = 0;  // 0: answer every address
        // Refuse setpoint and clock writes with status 18 while the meter is not stopped,
        // as a meter does that insists on the stop mode.
        bool requireStop = false;
    };

    MeterSim();
    explicit MeterSim(const Options& options);

    // One complete request frame in, the reply out.
    MeterReply Handle(const QByteArray& request);

    void InjectFault(const MeterFault& fault) { m_faults.append(fault); }
    void ClearFaults() { m_faults.clear(); }

    // The stored block of a command and read sub-command (bit 7 clear).
    QByteArray Block(std::uint8_t command, std::uint8_t subCommand) const;
    void SetBlock(std::uint8_t command, std::uint8_t subCommand, const QByteArray& bytes);

    // The operating mode byte of the clock block: 0 stop, 1 running, 2 reset, 4, 5.
    std::uint8_t Mode() const;
    void SetMode(std::uint8_t mode);
    // The meter's clock; it runs on from the time it was last set.
    QDateTime Clock() const;
    void SetClock(const QDateTime& time);
    // The network address last written with 0x0C/0x81 (0 until then).
    std::uint16_t NetworkAddress() const { return m_networkAddress; }
    void SetRequireStop(bool require) { m_options.requireStop = require; }

    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    // Forget the login, as a meter does after a pause.
    void Logout() { m_level = 0; }
    QByteArray Password(int level) const { return level == 2 ? m_password2 : m_password1; }

    // The requests handled, in order: the last kMaxRecordedRequests of them, so a meter
    // that serves for days keeps a bounded record.
    static constexpr int kMaxRecordedRequests = 1000;
    const QList<QByteArray>& Requests() const { return m_requests; }
    void ClearRequests() { m_requests.clear(); }

    // Block lengths of the command table (read sub-command); 0 for an unknown block.
    static int BlockLength(std::uint8_t command, std::uint8_t subCommand);

private:
    QByteArray Reply(const QByteArray& request, int status, QByteArrayView data = {}) const;
    std::optional<MeterFault> TakeFault(std::uint8_t command, std::uint8_t subCommand);
    // A write request's status; stores what it carries.
    int HandleWrite(std::uint8_t command, std::uint8_t subCommand, const QByteArray& data);
    QByteArray IdentityBlock() const;
    // The clock block with the running clock in its first six bytes.
    QByteArray ClockBlock() const;

    Options m_options;
    QHash<int, QByteArray> m_blocks;
    QList<MeterFault> m_faults;
    QList<QByteArray> m_requests;
    QByteArray m_password1;
    QByteArray m_password2;
    int m_level = 0;
    QDateTime m_clockBase;
    QElapsedTimer m_clockRunning;
    std::uint16_t m_networkAddress = 0;
};

// Collects bytes from a stream and cuts complete request frames out of it.
class FrameAssembler {
public:
    void Append(QByteArrayView bytes) { m_buffer.append(bytes.data(), bytes.size()); }
    // The next complete frame, or nullopt while one is incomplete.
    std::optional<QByteArray> Next();
    void Reset() { m_buffer.clear(); }
    bool IsEmpty() const { return m_buffer.isEmpty(); }

private:
    QByteArray m_buffer;
};
