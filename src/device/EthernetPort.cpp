#include "EthernetPort.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <limits>

CEthernetPort::CEthernetPort() = default;

CEthernetPort::~CEthernetPort() { Close(); }

int CEthernetPort::WaitMs() const
{
    const std::uint64_t ms = std::uint64_t(m_waitCount) * kStepMs;
    return int(std::min<std::uint64_t>(ms, std::numeric_limits<int>::max()));
}

bool CEthernetPort::Open(const QString& address, std::uint32_t port)
{
    Close();
    // Dotted-decimal IPv4 only: host names are not resolved.
    QHostAddress peer;
    if (!peer.setAddress(address.trimmed()) || peer.protocol() != QAbstractSocket::IPv4Protocol || port > 65535)
        return false;
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(peer, quint16(port));
    if (!m_socket->waitForConnected(WaitMs())) {
        Close();
        return false;
    }
    return true;
}

void CEthernetPort::Close()
{
    if (!m_socket)
        return;
    m_socket->abort();
    m_socket.reset();
}

std::uint32_t CEthernetPort::Write(const std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_socket || !buffer || count == 0)
        return 0;
    if (m_socket->write(reinterpret_cast<const char*>(buffer), count) < 0)
        return 0;
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(WaitMs())) {
            if (m_socket->error() != QAbstractSocket::SocketTimeoutError)
                return 0;
            break;
        }
    }
    return std::uint32_t(count - m_socket->bytesToWrite());
}

std::uint32_t CEthernetPort::Read(std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_socket || !buffer || count == 0)
        return 0;
    std::uint32_t total = 0;
    while (total < count) {
        if (m_socket->bytesAvailable() == 0 && !m_socket->waitForReadyRead(WaitMs())) {
            if (m_socket->bytesAvailable() > 0)
                continue;
            // An expired wait or a peer that closed the connection ends the read with what
            // arrived; any other socket error throws the partial read away.
            const auto error = m_socket->error();
            if (error == QAbstractSocket::SocketTimeoutError || error == QAbstractSocket::RemoteHostClosedError)
                return total;
            return 0;
        }
        const qint64 n = m_socket->read(reinterpret_cast<char*>(buffer) + total, count - total);
        if (n < 0)
            return 0;
        total += std::uint32_t(n);
    }
    return total;
}
