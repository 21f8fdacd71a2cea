#pragma once
// The TCP link: one connection per exchange to an IPv4 address given as text. Each connect,
// send and receive may take the wait count in 20 ms steps (250 = 5 s at start; the
// connection page sets it from its time-out in seconds x 50, see WaitCountForSeconds).
//
// Transfers are synchronous on the calling thread, so a transfer whose wait expired can
// never complete later into another transfer's buffer: the socket is gone with Close.
#include "CSerial.h"

#include <cstdint>
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
    static constexpr std::uint32_t kStepsPerSecond = 1000 / kStepMs;
    static constexpr std::uint32_t kInitialWaitCount = 250;

    // The wait count for a time-out in whole seconds. A number too large for the count
    // gives the longest wait there is, never a short one wrapped round.
    static constexpr std::uint32_t WaitCountForSeconds(std::uint64_t seconds)
    {
        constexpr std::uint32_t kMaxSeconds = UINT32_MAX / kStepsPerSecond;
        return std::uint32_t(seconds > kMaxSeconds ? kMaxSeconds : seconds) * kStepsPerSecond;
    }

private:
    int WaitMs() const;

    std::unique_ptr<QTcpSocket> m_socket;
    std::uint32_t m_waitCount = kInitialWaitCount;
};
