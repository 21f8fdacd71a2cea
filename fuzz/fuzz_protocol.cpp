// Feeds arbitrary reply bytes through a link into the protocol engine's operations.
// The first input byte picks the operation and the block size; the rest is what the
// "meter" answers, handed out as the engine reads.
#include "common/UserPrompt.h"
#include "device/CSerial.h"
#include "device/ProcessCommand.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

class ReplayLink final : public CSerial {
public:
    ReplayLink(const std::uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Open(const QString&, std::uint32_t) override { return m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    std::uint32_t Write(const std::uint8_t*, std::uint32_t count) override { return count; }
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) override
    {
        const size_t n = std::min<size_t>(count, m_size - m_pos);
        std::memcpy(buffer, m_data + m_pos, n);
        m_pos += n;
        return std::uint32_t(n);
    }

private:
    const std::uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_open = false;
};

class YesPrompt final : public UserPrompt {
public:
    void Message(MessageKind, const QString&) override {}
    bool Ask(QuestionKind, const QString&, QuestionIcon) override { return true; }
    std::optional<Credentials> Authenticate() override { return Credentials{2, "2222"}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const std::uint16_t kLengths[] = {1, 2, 4, 7, 19, 56, 62, 500, 512, 1308};
    const std::uint8_t selector = data[0];
    ReplayLink link(data + 1, size - 1);
    YesPrompt prompt;
    CProcessCommand engine(prompt);
    engine.SetTransport(&link);
    engine.SetDeviceAddress(1);
    engine.SetPauseFunction([](int) {});
    const std::uint16_t length = kLengths[(selector >> 2) % 10];
    std::vector<std::uint8_t> block(length, 0xAA);
    switch (selector & 3) {
    case 0: {
        std::uint16_t got = length;
        if (engine.ReadBlock(0x10, 0x01, block.data(), &got) && got > length + 2)
            __builtin_trap();  // more reported than could have arrived
        break;
    }
    case 1: {
        std::uint8_t status = 0;
        engine.WriteBlock(0x10, 0x81, block.data(), length, &status);
        break;
    }
    case 2:
        engine.Login(QByteArray());
        break;
    default:
        engine.TestLink();
        break;
    }
    return 0;
}
