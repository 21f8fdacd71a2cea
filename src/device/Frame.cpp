#include "Frame.h"

#include "common/LittleEndian.h"

namespace frame {
namespace {

// Bytes 10..21 of every header; byte 20 is the frame kind.
constexpr std::uint8_t kConstantBytes[12] = {0x08, 0x00, 0x01, 0x01, 0x00, 0x00,
                                             0x00, 0x01, 0x01, 0x01, 0x01, 0x00};

} // namespace

std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count)
{
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < count; ++i) {
        x ^= bytes[i];
        const bool carry = x & 1;
        x = std::uint8_t((x >> 1) | (carry ? 0x80 : 0));
        if (carry)
            x ^= 0x1E;
    }
    return x ^ 0xEB;
}

std::uint8_t Checksum(QByteArrayView bytes)
{
    return Checksum(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size()));
}

QByteArray Build(const Header& header, QByteArrayView data)
{
    QByteArray out(kHeaderSize, '\0');
    le::PutU16(out, kLengthOffset, header.length);
    out[kCommandOffset] = char(header.command);
    out[kSubCommandOffset] = char(header.subCommand);
    le::PutU16(out, kAddressOffset, header.address);
    for (int i = 0; i < 12; ++i)
        out[10 + i] = char(kConstantBytes[i]);
    out[kFrameKindOffset] = char(header.kind);
    le::PutU16(out, kStatusOffset, header.status);
    out.append(data.data(), data.size());
    out.append(char(Checksum(out)));
    return out;
}

QByteArray BuildRequest(std::uint8_t command, std::uint8_t subCommand, std::uint16_t address,
                        std::uint8_t kind, QByteArrayView data)
{
    Header h;
    h.length = std::uint16_t(data.size());
    h.command = command;
    h.subCommand = subCommand;
    h.address = address;
    h.kind = kind;
    return Build(h, data);
}

bool ParseHeader(QByteArrayView bytes, Header* header)
{
    if (bytes.size() < kHeaderSize || !header)
        return false;
    header->length = le::U16(bytes, kLengthOffset);
    header->command = std::uint8_t(bytes[kCommandOffset]);
    header->subCommand = std::uint8_t(bytes[kSubCommandOffset]);
    header->address = le::U16(bytes, kAddressOffset);
    header->kind = std::uint8_t(bytes[kFrameKindOffset]);
    header->status = le::U16(bytes, kStatusOffset);
    return true;
}

} // namespace frame
