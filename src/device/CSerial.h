#pragma once
// The link the protocol engine talks through. A link is only a link: frames, checksums and
// statuses belong to the engine. It is opened for one exchange and closed right after.
#include <QString>

#include <cstdint>

class CSerial {
public:
    virtual ~CSerial() = default;
    // parameter: the baud rate (serial) or the TCP port (Ethernet).
    virtual bool Open(const QString& portName, std::uint32_t parameter) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Returns the number of bytes sent.
    virtual std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t count) = 0;
    // Receives up to count bytes within the link's time-outs; returns the number received.
    virtual std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) = 0;
    virtual bool ClearTransmitQueue() { return true; }
    virtual bool ClearReceiveQueue() { return true; }
};
