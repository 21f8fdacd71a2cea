#include "PageRoutine.h"

#include "ProcessCommand.h"

void ApplyLinkSettings(CProcessCommand& engine, const LinkSettings& settings)
{
    engine.SetPortName(settings.portName);
    engine.SetLinkParameter(settings.linkParameter);
    engine.SetDeviceAddress(std::uint16_t(settings.deviceAddress));
}
