#pragma once
// Numbers typed into the connection page: the device address and the link values.
#include <QStringView>

// The number at the start of text: its leading decimal digits, 0 when there are none.
// Very long digit strings saturate instead of overflowing.
int LeadingNumber(QStringView text);

constexpr int kMaxDeviceAddress = 65535;
inline bool IsValidDeviceAddress(int address)
{
    return address >= 1 && address <= kMaxDeviceAddress;
}
