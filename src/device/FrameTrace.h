#pragma once
// Reading frames for a person: what a frame is (command, sub-command, status, length), what
// is wrong with a reply (a checksum that does not match its bytes, an echo of another
// command, fewer bytes than awaited), and the trace line that shows it. The engine itself
// checks none of this; the trace and the exchange log do, so a noisy line or a confused
// meter shows itself.
//
// A trace line: "<seconds, 3 decimals> <TX|RX> <lower-case hex pairs>  # <description>".
#include "FrameObserver.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>

class QIODevice;

namespace frametrace {

enum class ChecksumState {
    Match,
    Mismatch,
    Missing,  // the frame's checksum byte is not among the bytes
};

struct FrameFacts {
    bool sent = false;
    int size = 0;
    bool hasHeader = false;  // at least the 24 header bytes
    std::uint8_t command = 0;
    std::uint8_t subCommand = 0;
    int dataLength = 0;      // the header's data length
    int status = 0;          // a reply's status
    ChecksumState checksum = ChecksumState::Missing;
    // Reply only.
    bool echoMismatch = false;    // command or sub-command differ from the request's
    bool linkEchoMismatch = false;  // a link test answered with another checksum
    bool shortReply = false;      // fewer bytes than the engine waited for
    int awaited = 0;
    std::uint8_t requestCommand = 0;
    std::uint8_t requestSubCommand = 0;

    // Something about the frame deserves a second look.
    bool Flagged() const
    {
        return checksum == ChecksumState::Mismatch || echoMismatch || linkEchoMismatch || shortReply;
    }
};

FrameFacts Examine(const FrameEvent& event);

// "чтение: уставки, напряжение", "запись: группы параметров", "проверка связи".
QString CommandMeaning(std::uint8_t command, std::uint8_t subCommand);
// "выполнено", "прибор занят", ...; empty for a status without a known meaning.
QString StatusMeaning(int status);
// "09/02" for command 0x09, sub-command 0x02.
QString CommandCode(std::uint8_t command, std::uint8_t subCommand);
// What is wrong with the frame, one text per finding; empty when nothing is.
QStringList Findings(const FrameFacts& facts);
// Command and meaning, status, length and findings in one line.
QString Describe(const FrameFacts& facts);

QString HexPairs(QByteArrayView bytes);
QString TraceLine(double seconds, const FrameEvent& event, const FrameFacts& facts);

// Writes one trace line per frame to a device, seconds counted from its start.
class TraceWriter final : public FrameObserver {
public:
    explicit TraceWriter(QIODevice& out, std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());
    void OnFrame(const FrameEvent& event) override;

private:
    QIODevice& m_out;
    std::chrono::steady_clock::time_point m_start;
};

struct LoggedFrame {
    double seconds = 0;
    FrameEvent event;
    FrameFacts facts;
};

// The last frames of a run, oldest first; beyond its capacity the oldest frame goes.
class FrameLog {
public:
    static constexpr int kDefaultCapacity = 10000;
    explicit FrameLog(int capacity = kDefaultCapacity,
                      std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());

    int Capacity() const { return m_capacity; }
    int Size() const { return int(m_frames.size()); }
    bool Full() const { return Size() >= m_capacity; }
    const LoggedFrame& At(int index) const { return m_frames[std::size_t(index)]; }
    void DropOldest();
    // Makes room first when full.
    void Append(const FrameEvent& event);
    void Clear() { m_frames.clear(); }
    // The trace lines of the frames from first to last (inclusive), one per line.
    QString Lines(int first, int last) const;

private:
    int m_capacity;
    std::chrono::steady_clock::time_point m_start;
    std::deque<LoggedFrame> m_frames;
};

} // namespace frametrace
