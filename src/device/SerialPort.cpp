#include "SerialPort.h"

#include "DeviceMessages.h"
#include "common/UserPrompt.h"

#include <QElapsedTimer>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

qint32 MaximumRate()
{
    const QList<qint32> rates = QSerialPortInfo::standardBaudRates();
    return rates.isEmpty() ? 115200 : *std::max_element(rates.begin(), rates.end());
}

} // namespace

const QStringList& SerialBaudRates()
{
    static const QStringList rates = {
        QStringLiteral("110"),   QStringLiteral("300"),   QStringLiteral("600"),   QStringLiteral("1200"),
        QStringLiteral("2400"),  QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
        QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200"),
    };
    return rates;
}

CSerialPort::CSerialPort(UserPrompt& prompt)
    : m_prompt(prompt)
{
}

CSerialPort::~CSerialPort() { Close(); }

bool CSerialPort::Open(const QString& portName, std::uint32_t baud)
{
    if (m_open)
        return true;
    if (baud == 0)
        return false;
    m_port.setPortName(portName);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    auto fail = [this] {
        m_port.close();
        return false;
    };
    if (baud > std::uint32_t(MaximumRate()) || !m_port.setBaudRate(qint32(baud))) {
        m_prompt.Information(msg::kRateNotSupported);
        return fail();
    }
    if (!m_port.clear(QSerialPort::AllDirections))
        return fail();
    // Byte-transparent 8N1 with no flow control.
    if (!m_port.setDataBits(QSerialPort::Data8) || !m_port.setParity(QSerialPort::NoParity)
        || !m_port.setStopBits(QSerialPort::OneStop) || !m_port.setFlowControl(QSerialPort::NoFlowControl))
        return fail();
    // The link does not drive DTR or RTS: both lines stay low while it is open. A port
    // without modem lines (a pseudo-terminal) refuses this, which is no reason to fail.
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    m_port.clearError();
    m_open = true;
    m_name = portName;
    m_baud = baud;
    return true;
}

void CSerialPort::Close()
{
    if (!m_open)
        return;
    m_port.clear(QSerialPort::AllDirections);
    m_port.close();
    m_open = false;
    m_name.clear();
}

std::uint32_t CSerialPort::Write(const std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_open || !buffer)
        return 0;
    const qint64 accepted = m_port.write(reinterpret_cast<const char*>(buffer), count);
    if (accepted < 0)
        return 0;
    const qint64 budget = kTotalConstantMs + qint64(count) * (kMillisecondsPerByteTimesBaud / m_baud);
    QElapsedTimer clock;
    clock.start();
    while (m_port.bytesToWrite() > 0) {
        const qint64 left = budget - clock.elapsed();
        if (left <= 0 || !m_port.waitForBytesWritten(int(left)))
            break;
    }
    m_port.flush();
    return std::uint32_t(std::max<qint64>(0, accepted - m_port.bytesToWrite()));
}

std::uint32_t CSerialPort::Read(std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_open || !buffer)
        return 0;
    const qint64 budget = kTotalConstantMs + qint64(count) * (kMillisecondsPerByteTimesBaud / m_baud);
    QElapsedTimer clock;
    clock.start();
    qint64 lastByteAt = -1;
    std::uint32_t got = 0;
    while (got < count) {
        if (m_port.bytesAvailable() > 0) {
            const qint64 n = m_port.read(reinterpret_cast<char*>(buffer) + got, count - got);
            if (n < 0)
                break;
            got += std::uint32_t(n);
            lastByteAt = clock.elapsed();
            continue;
        }
        qint64 wait = budget - clock.elapsed();
        if (lastByteAt >= 0)
            wait = std::min(wait, lastByteAt + kIntervalMs - clock.elapsed());
        if (wait <= 0 || !m_port.waitForReadyRead(int(wait)))
            break;
    }
    return got;
}

bool CSerialPort::ClearTransmitQueue() { return m_open && m_port.clear(QSerialPort::Output); }

bool CSerialPort::ClearReceiveQueue() { return m_open && m_port.clear(QSerialPort::Input); }

bool PortExists(const QString& portName)
{
    if (portName.isEmpty())
        return false;
    QSerialPort port(portName);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.close();
    return true;
}

QStringList SerialPortCandidates()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        names << info.portName();
    std::sort(names.begin(), names.end());
    return names;
}
