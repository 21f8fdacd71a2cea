#pragma once
// Little-endian fields inside byte blocks: every multi-byte value the meter, the ".cfg"
// file and the virtual meter exchange is stored this way. Callers check the bounds.
#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace le {

inline std::uint16_t U16(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.data()) + offset);
}

inline std::uint32_t U32(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.data()) + offset);
}

inline void PutU16(QByteArray& bytes, qsizetype offset, std::uint16_t value)
{
    qToLittleEndian<quint16>(value, reinterpret_cast<uchar*>(bytes.data()) + offset);
}

inline void PutU32(QByteArray& bytes, qsizetype offset, std::uint32_t value)
{
    qToLittleEndian<quint32>(value, reinterpret_cast<uchar*>(bytes.data()) + offset);
}

} // namespace le
