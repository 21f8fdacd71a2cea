#pragma once
// The LINK options shared by every command that talks to a meter:
//   (--tcp HOST:PORT [--timeout SECONDS] | --serial PORT [--baud N])
//   --address N [--level 1|2] [--password P] [--yes]
#include "CliPrompt.h"
#include "device/EthernetPort.h"
#include "device/PageRoutine.h"
#include "device/ProcessCommand.h"
#include "device/SerialPort.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace cli {

class Options;

// Option names for cli::Options::Parse.
QStringList LinkValuedOptions();
QStringList LinkFlagOptions();

// The meter's last reply status as the last MeterLink heard it (kept after the link is
// gone), for the closing line of a failed command.
std::optional<ReplyStatus> LastMeterStatus();

class MeterLink {
public:
    ~MeterLink();
    // Checks the options and sets up link, prompt and engine. On a usage error returns null
    // after printing it; *exitCode is then set.
    static std::unique_ptr<MeterLink> FromOptions(const Options& options, int* exitCode);

    CProcessCommand& Engine() { return *m_engine; }
    CliPrompt& Prompt() { return *m_prompt; }
    // The address as given; outside 1..65535 the command shows the address notice.
    long long Address() const { return m_address; }
    bool AddressValid() const { return m_address >= 1 && m_address <= 65535; }
    // Port, link value and address for the page routines; an address beyond the 16-bit
    // field becomes 0, which the address test refuses, so it is never wrapped.
    LinkSettings Target() const
    {
        return LinkSettings{m_engine->PortName(), m_engine->LinkParameter(), AddressValid() ? int(m_address) : 0};
    }

private:
    MeterLink() = default;
    std::unique_ptr<CliPrompt> m_prompt;
    std::unique_ptr<CSerial> m_link;
    std::unique_ptr<CProcessCommand> m_engine;
    long long m_address = 0;
};

} // namespace cli
