#include "CliLink.h"

#include "CliCommon.h"
#include "common/Cp1251.h"

namespace cli {

namespace {

// An hour is far beyond any meter's answer; a longer wait only hides a dead link.
constexpr int kMaxTimeoutSeconds = 3600;

// Plain decimal digits (no sign, no spaces), at most nine of them.
std::optional<int> WholeNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

std::optional<ReplyStatus> g_lastStatus;

} // namespace

std::optional<ReplyStatus> LastMeterStatus() { return g_lastStatus; }

MeterLink::~MeterLink()
{
    if (m_engine)
        g_lastStatus = m_engine->LastStatus();
}

QStringList LinkValuedOptions()
{
    return {QStringLiteral("--tcp"), QStringLiteral("--timeout"), QStringLiteral("--serial"), QStringLiteral("--baud"),
            QStringLiteral("--address"), QStringLiteral("--level"), QStringLiteral("--password")};
}

QStringList LinkFlagOptions() { return {QStringLiteral("--yes")}; }

std::unique_ptr<MeterLink> MeterLink::FromOptions(const Options& options, int* exitCode)
{
    auto usage = [exitCode](const QString& text) {
        *exitCode = Usage(text);
        return nullptr;
    };
    const bool tcp = options.Has(QStringLiteral("--tcp"));
    const bool serial = options.Has(QStringLiteral("--serial"));
    if (tcp == serial)
        return usage(QStringLiteral("give exactly one of --tcp HOST:PORT and --serial PORT"));
    if (!options.Has(QStringLiteral("--address")))
        return usage(QStringLiteral("--address N is required"));

    std::unique_ptr<MeterLink> link(new MeterLink);
    bool ok = false;
    link->m_address = options.Value(QStringLiteral("--address")).toLongLong(&ok);
    if (!ok)
        link->m_address = 0;  // not a number: refused like an address of 0

    std::optional<Credentials> credentials;
    if (options.Has(QStringLiteral("--password"))) {
        const QString level = options.Value(QStringLiteral("--level"), QStringLiteral("1"));
        if (level != QLatin1String("1") && level != QLatin1String("2"))
            return usage(QStringLiteral("--level takes 1 or 2"));
        credentials = Credentials{level.toInt(), cp1251::Encode(options.Value(QStringLiteral("--password")))};
    }
    link->m_prompt = std::make_unique<CliPrompt>(options.Has(QStringLiteral("--yes")), credentials);
    link->m_engine = std::make_unique<CProcessCommand>(*link->m_prompt);

    QString portName;
    std::uint32_t parameter = 0;
    if (tcp) {
        const QString target = options.Value(QStringLiteral("--tcp"));
        const int colon = target.lastIndexOf(QLatin1Char(':'));
        const uint port = target.mid(colon + 1).toUInt(&ok);
        if (colon <= 0 || !ok || port > 65535)
            return usage(QStringLiteral("--tcp takes HOST:PORT"));
        auto ethernet = std::make_unique<CEthernetPort>();
        if (options.Has(QStringLiteral("--timeout"))) {
            const std::optional<int> seconds = WholeNumber(options.Value(QStringLiteral("--timeout")));
            if (!seconds || *seconds < 1 || *seconds > kMaxTimeoutSeconds)
                return usage(QStringLiteral("--timeout takes whole seconds from 1 to %1").arg(kMaxTimeoutSeconds));
            ethernet->SetWaitCount(CEthernetPort::WaitCountForSeconds(std::uint64_t(*seconds)));
        }
        portName = target.left(colon);
        parameter = port;
        link->m_link = std::move(ethernet);
    } else {
        portName = options.Value(QStringLiteral("--serial"));
        // The rates of the connection page's list, nothing else.
        const QString baud = options.Value(QStringLiteral("--baud"), QStringLiteral("115200"));
        if (!SerialBaudRates().contains(baud))
            return usage(QStringLiteral("--baud takes one of %1").arg(SerialBaudRates().join(QStringLiteral(", "))));
        parameter = baud.toUInt();
        link->m_link = std::make_unique<CSerialPort>(*link->m_prompt);
    }
    CProcessCommand& engine = *link->m_engine;
    engine.SetTransport(link->m_link.get());
    engine.SetPortName(portName);
    engine.SetLinkParameter(parameter);
    engine.SetDeviceAddress(std::uint16_t(link->m_address));
    return link;
}

} // namespace cli
