#include "PageRoutine.h"

#include "DeviceMessages.h"
#include "Frame.h"
#include "ProcessCommand.h"
#include "common/UserPrompt.h"

void ApplyLinkSettings(CProcessCommand& engine, const LinkSettings& settings)
{
    engine.SetPortName(settings.portName);
    engine.SetLinkParameter(settings.linkParameter);
    engine.SetDeviceAddress(std::uint16_t(settings.deviceAddress));
}

bool WriteAccepted(std::uint8_t statusOut, UserPrompt& prompt)
{
    if (statusOut == frame::kStatusNotStopped) {
        prompt.Error(msg::kNotStoppedNotAllWritten);
        return false;
    }
    if (statusOut == frame::kStatusRefused) {
        prompt.Error(msg::kNotAllWritten);
        return false;
    }
    return true;
}
