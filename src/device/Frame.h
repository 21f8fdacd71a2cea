#pragma once
// Request and reply frames of the meter protocol: a 24-byte header, the data and one
// checksum byte. Every frame the program or the virtual meter sends is built here.
#include <QByteArray>

#include <cstdint>

namespace frame {

constexpr int kHeaderSize = 24;
constexpr int kChecksumSize = 1;
// Every exchange first reads the header plus one byte.
constexpr int kReplyHeadSize = kHeaderSize + 1;

// Header offsets.
constexpr int kLengthOffset = 4;
constexpr int kCommandOffset = 6;
constexpr int kSubCommandOffset = 7;
constexpr int kAddressOffset = 8;
constexpr int kFrameKindOffset = 20;
constexpr int kStatusOffset = 22;

// Frame kind: write requests carry 0x00, every other request 0x01.
constexpr std::uint8_t kKindWrite = 0x00;
constexpr std::uint8_t kKindOther = 0x01;

// Commands.
constexpr std::uint8_t kCmdLinkTest = 0x00;
constexpr std::uint8_t kCmdSetpoints = 0x09;
constexpr std::uint8_t kCmdClock = 0x0A;
constexpr std::uint8_t kCmdArchive = 0x0B;
constexpr std::uint8_t kCmdNetworkAddress = 0x0C;
constexpr std::uint8_t kCmdPassword = 0x0E;
constexpr std::uint8_t kCmdClockCorrection = 0x0F;  // automatic and soft clock correction
constexpr std::uint8_t kCmdGroups = 0x10;
constexpr std::uint8_t kCmdInterfaces = 0x11;       // the serial interfaces
constexpr std::uint8_t kCmdControlCode = 0x13;
constexpr std::uint8_t kCmdDeviationLimits = 0x15;
constexpr std::uint8_t kCmdRapidVoltageChange = 0x16;

constexpr std::uint8_t kSubIdentify = 0x02;  // with kCmdClock
constexpr std::uint8_t kSubLoginLevel1 = 0x81;
constexpr std::uint8_t kSubLoginLevel2 = 0x82;
constexpr std::uint8_t kSubNewPasswordLevel1 = 0x83;
constexpr std::uint8_t kSubNewPasswordLevel2 = 0x84;
constexpr std::uint8_t kWriteBit = 0x80;

// Meter status codes.
constexpr int kStatusOk = 0;
// The meter refuses a request with either of these.
constexpr int kStatusRefused = 2;
constexpr int kStatusRefusedToo = 3;
constexpr int kStatusBusy = 7;
constexpr int kStatusPasswordRequired = 15;
constexpr int kStatusNotAllWritten = 16;
constexpr int kStatusWrongPassword = 17;
constexpr int kStatusNotStopped = 18;

// The protocol's 8-bit checksum over header and data.
std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count);
std::uint8_t Checksum(QByteArrayView bytes);

struct Header {
    std::uint16_t length = 0;
    std::uint8_t command = 0;
    std::uint8_t subCommand = 0;
    std::uint16_t address = 0;
    std::uint8_t kind = kKindOther;
    std::uint16_t status = 0;
};

// Header + data + checksum. Used for requests and (by the virtual meter) replies alike.
QByteArray Build(const Header& header, QByteArrayView data);

// A request: length from data, status 0.
QByteArray BuildRequest(std::uint8_t command, std::uint8_t subCommand, std::uint16_t address,
                        std::uint8_t kind, QByteArrayView data = {});

// Reads the header fields of the first 24 bytes; false when fewer are given.
bool ParseHeader(QByteArrayView bytes, Header* header);

} // namespace frame
