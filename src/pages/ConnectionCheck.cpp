#include "ConnectionCheck.h"

#include "common/UserPrompt.h"
#include "device/ActivePage.h"
#include "device/DeviceMessages.h"
#include "model/ConfigModel.h"

#include <algorithm>

std::optional<DeviceIdentity> CheckConnection(const LinkSettings& target, CProcessCommand& engine,
                                              UserPrompt& prompt)
{
    if (!IsValidDeviceAddress(target.deviceAddress)) {
        prompt.PlainNotice(msg::kAddressRangePage);
        return std::nullopt;
    }
    ApplyLinkSettings(engine, target);
    DeviceIdentity identity;
    if (!engine.TestLink() || !engine.Login(QByteArray()) || !engine.Identify(&identity))
        return std::nullopt;
    return identity;
}

void AdoptIdentity(const DeviceIdentity& identity, const DeviceIdentity& shown, int deviceAddress,
                   ConfigModel& model)
{
    std::copy_n(identity.details.constData(),
                std::min<qsizetype>(identity.details.size(), qsizetype(model.identity_block.size())),
                model.identity_block.begin());
    if (identity.modelName != shown.modelName || identity.version != model.firmware_version
        || identity.serial != shown.serial) {
        model.firmware_version = identity.version;
        model.modification = identity.modelName;
        model.connection_address = deviceAddress;
    }
    model.device_address = std::uint16_t(deviceAddress);
}
