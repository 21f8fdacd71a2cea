#pragma once
// What every page routine that talks to the meter receives: the connection values of the
// connection page, and the hooks through which it reaches back into its page (store the
// controls into the model before a write, load them from the model after a read).
#include <QString>

#include <cstdint>
#include <functional>

class CProcessCommand;

struct LinkSettings {
    QString portName;             // serial port name or the meter's IP address text
    std::uint32_t linkParameter = 0;  // baud rate or TCP port
    int deviceAddress = 0;        // 1..65535 once tested
};

// Hands the three connection values to the engine, as every page routine does first.
void ApplyLinkSettings(CProcessCommand& engine, const LinkSettings& settings);

struct PageHooks {
    std::function<void()> storePage;  // controls -> model, before a write
    std::function<void()> loadPage;   // model -> controls, after a read
};

inline void RunHook(const std::function<void()>& hook)
{
    if (hook)
        hook();
}
