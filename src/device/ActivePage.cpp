#include "ActivePage.h"

#include "DeviceMessages.h"
#include "ProcessCommand.h"
#include "common/UserPrompt.h"

#include <climits>

int LeadingNumber(QStringView text)
{
    long long value = 0;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            break;
        value = value * 10 + (ch.unicode() - u'0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return int(value);
}

void ApplyLinkTarget(CProcessCommand& engine, const LinkTarget& target)
{
    engine.SetPortName(target.portName);
    engine.SetLinkParameter(target.parameter);
    engine.SetDeviceAddress(std::uint16_t(target.address));
}

bool IdentifyBeforeRead(CProcessCommand& engine, const LinkTarget& target, QByteArray& firmwareVersion,
                        QByteArray& modification, bool* identified)
{
    if (identified)
        *identified = false;
    if (!firmwareVersion.isEmpty() || !modification.isEmpty())
        return true;
    ApplyLinkTarget(engine, target);
    DeviceIdentity identity;
    if (!engine.Identify(&identity)) {
        engine.Prompt().Error(msg::kExchangeFailure);
        return false;
    }
    firmwareVersion = identity.version;
    modification = identity.modelName;
    if (identified)
        *identified = true;
    return true;
}

bool IdentifyBeforeWrite(CProcessCommand& engine, const LinkTarget& target, QByteArray& firmwareVersion,
                         QByteArray& modification)
{
    ApplyLinkTarget(engine, target);
    DeviceIdentity identity;
    if (!engine.Identify(&identity)) {
        engine.Prompt().Error(msg::kExchangeFailure);
        return false;
    }
    if (firmwareVersion.isEmpty())
        firmwareVersion = identity.version;
    if (modification.isEmpty())
        modification = identity.modelName;
    if (firmwareVersion != identity.version || modification != identity.modelName) {
        engine.Prompt().Error(msg::kVersionConflict);
        return false;
    }
    return true;
}
