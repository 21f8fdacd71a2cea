#pragma once
// The TCP link: one connection per exchange to an IPv4 address given as text. Each connect,
// send and receive may take the wait count in 20 ms steps (250 = 5 s at start; the
// connection page sets it from its time-out in seconds x 50).
//
// Transfers are synchronous on the calling thread, so a transfer whose wait expired can
// never complete later into another transfer's buffer: the socket is gone with Close.
#include "CSerial.h"

#include <memory>

class QTcpSocket;

class CEthernetPort final : public CSerial {
public:
    CEthernetPort();
    ~CEthernetPort() override;

    bool Open(const QString& address, std::uint32_t port) override;
    void Close() override;
    bool IsOpen() const override { return m_socket != nullptr; }
    std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t count) override;
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) override;

    void SetWaitCount(std::uint32_t steps) { m_waitCount = steps; }
    std::uint32_t WaitCount() const { return m_waitCount; }

    static constexpr int kStepMs = 20;
    static constexpr std::uint32_t kInitialWaitCount = 250;

private:
    int WaitMs() const;

    std::unique_ptr<QTcpSocket> m_socket;
    std::uint32_t m_waitCount = kInitialWaitCount;
};
