#pragma once
// What the read and write commands do before they hand over to the active page: the
// address test, the identification and the identity check. The GUI and the command-line
// tool run the same steps, so they live here, away from any page.
#include <QByteArray>
#include <QString>

#include <cstdint>

class CProcessCommand;

// The connection settings a page routine receives, taken from the connection page.
struct LinkTarget {
    QString portName;            // serial port name, or the meter's IP address text
    std::uint32_t parameter = 0; // baud rate or TCP port
    int address = 0;             // device address, 1..65535 once tested
};

// The number at the start of text: its leading decimal digits, 0 when there are none.
// Very long digit strings saturate instead of overflowing.
int LeadingNumber(QStringView text);

constexpr int kMaxDeviceAddress = 65535;
inline bool IsValidDeviceAddress(int address)
{
    return address >= 1 && address <= kMaxDeviceAddress;
}

// Gives the engine the port name, link parameter and device address.
void ApplyLinkTarget(CProcessCommand& engine, const LinkTarget& target);

// Before a read: when the configuration carries no identity yet, identifies the meter and
// adopts its version and model name. *identified tells whether it did. Returns false
// (after the messages) when the identification failed.
bool IdentifyBeforeRead(CProcessCommand& engine, const LinkTarget& target, QByteArray& firmwareVersion,
                        QByteArray& modification, bool* identified = nullptr);

// Before a write: identifies the meter, adopts its identity into empty fields and refuses
// a meter whose version or model name differs from the configuration's. Returns false
// (after the messages) when the meter must not be written.
bool IdentifyBeforeWrite(CProcessCommand& engine, const LinkTarget& target, QByteArray& firmwareVersion,
                         QByteArray& modification);
