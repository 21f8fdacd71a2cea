#include "MemoryLink.h"

#include <algorithm>
#include <cstring>

bool MemoryLink::Open(const QString& portName, std::uint32_t parameter)
{
    if (m_open)
        return true;
    if (m_openFails)
        return false;
    m_open = true;
    ++m_opens;
    m_portName = portName;
    m_parameter = parameter;
    return true;
}

void MemoryLink::Close()
{
    if (!m_open)
        return;
    m_open = false;
    ++m_closes;
    // Every exchange is a new connection: nothing survives a close.
    m_pending.clear();
    m_assembler.Reset();
}

std::uint32_t MemoryLink::Write(const std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_open || !buffer)
        return 0;
    m_assembler.Append(QByteArrayView(reinterpret_cast<const char*>(buffer), count));
    while (const auto request = m_assembler.Next())
        m_pending.append(m_meter.Handle(*request).bytes);
    return count;
}

std::uint32_t MemoryLink::Read(std::uint8_t* buffer, std::uint32_t count)
{
    if (!m_open || !buffer)
        return 0;
    const std::uint32_t n = std::min<std::uint32_t>(count, std::uint32_t(m_pending.size()));
    std::memcpy(buffer, m_pending.constData(), n);
    m_pending.remove(0, int(n));
    return n;
}

bool MemoryLink::ClearReceiveQueue()
{
    m_pending.clear();
    return true;
}
