#pragma once
// "Проверка связи": the address test, the link test, the login and the identification, then
// what the meter said goes into the configuration. The connection page and the command
// line's identify run the same steps.
#include "device/PageRoutine.h"
#include "device/ProcessCommand.h"

#include <optional>

class UserPrompt;
struct ConfigModel;

// The meter's identity, or nullopt once the user has been told why not (an address outside
// 1..65535 gets the address notice and sends nothing).
std::optional<DeviceIdentity> CheckConnection(const LinkSettings& target, CProcessCommand& engine,
                                              UserPrompt& prompt);

// Takes a freshly read identity into the model: the identity details always, the version,
// model name and address only when the meter differs from the one shown before.
void AdoptIdentity(const DeviceIdentity& identity, const DeviceIdentity& shown, int deviceAddress,
                   ConfigModel& model);
