#pragma once
// The serial link: a QSerialPort used synchronously, with time-outs that scale with the
// rate (a read of n bytes gives up after 1000 + n x (200000 / baud) ms, or when 1000 ms pass
// between two bytes).
#include "CSerial.h"

#include <QSerialPort>
#include <QStringList>

class UserPrompt;

class CSerialPort final : public CSerial {
public:
    explicit CSerialPort(UserPrompt& prompt);
    ~CSerialPort() override;

    bool Open(const QString& portName, std::uint32_t baud) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t count) override;
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) override;
    bool ClearTransmitQueue() override;
    bool ClearReceiveQueue() override;

    QString PortName() const { return m_name; }

    static constexpr int kIntervalMs = 1000;
    static constexpr int kTotalConstantMs = 1000;
    static constexpr std::uint32_t kMillisecondsPerByteTimesBaud = 200000;

private:
    UserPrompt& m_prompt;
    QSerialPort m_port;
    bool m_open = false;
    QString m_name;
    std::uint32_t m_baud = 0;
};

// True when the port can be opened for reading and writing right now (it exists and
// nobody else holds it). Used to list the ports the user may choose.
bool PortExists(const QString& portName);

// The rates the connection page offers, slowest first, as texts of whole numbers.
const QStringList& SerialBaudRates();

// The serial ports of this machine (by name), as candidates for PortExists.
QStringList SerialPortCandidates();
