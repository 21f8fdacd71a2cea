#include "MeterSimConfig.h"

#include "MeterSim.h"
#include "common/UserPrompt.h"
#include "device/Frame.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "rules/RuleCompiler.h"
#include "rules/TermDictionary.h"
#include "setpoints/SetpointBlocks.h"

using namespace setpoints;

void SetMeterBlocks(MeterSim& meter, const ConfigModel& model)
{
    const std::uint8_t s = frame::kCmdSetpoints;
    meter.SetBlock(s, 1, EncodeTimeBlock(model));
    meter.SetBlock(s, 2, EncodeVoltageBlock(model));
    meter.SetBlock(s, 3, EncodeFrequencyBlock(model));
    meter.SetBlock(s, 4, EncodeUnbalanceBlock(model));
    meter.SetBlock(s, 5, EncodeHarmonicsBlock(model));
    meter.SetBlock(s, 6, EncodeInterharmonicsBlock(model));
    meter.SetBlock(s, 7, EncodeCalculationBlock(model));
    meter.SetBlock(s, 8, EncodeAveragingBlock(model));
    meter.SetBlock(frame::kCmdClockCorrection, 1, EncodeAutoCorrectionBlock(model) + EncodeSoftCorrectionBlock(model));
    meter.SetBlock(frame::kCmdInterfaces, 1, EncodeInterfacesBlock(model));
    meter.SetBlock(frame::kCmdRapidVoltageChange, 1, EncodeRvcBlock(model));
    meter.SetMode(ModeCodeFor(model.device_mode == kDeviceModeReset ? kDeviceModeStop : model.device_mode));
    meter.SetBlock(frame::kCmdGroups, 1, GroupsToBytes(model.groups));
    meter.SetBlock(frame::kCmdArchive, 1,
                   QByteArray(reinterpret_cast<const char*>(model.archive_mask.data()), kArchiveMaskSize));
    meter.SetBlock(frame::kCmdDeviationLimits, 1,
                   QByteArray(reinterpret_cast<const char*>(model.deviation_limits.data()), kDeviationLimitsSize));
}

bool LoadMeterConfig(MeterSim& meter, const QString& path, QString* error)
{
    SilentPrompt prompt;
    ConfigModel model = NewConfigModel();
    QString why;
    if (!LoadConfigFile(path, model, prompt, &why)) {
        if (error)
            *error = QStringLiteral("--config %1: %2").arg(path, why);
        return false;
    }
    SetMeterBlocks(meter, model);
    QByteArray code = EmptyControlCode();
    if (!model.pulse_rules_text.isEmpty()) {
        TermDictionary dictionary;
        QStringList messages;
        if (!dictionary.Load(TermDictionary::DefaultPath(), prompt)
            || !RuleCompiler(dictionary).Compile(model.pulse_rules_text, code, messages)) {
            if (error)
                *error = QStringLiteral("--config %1: the pulse rules do not compile: %2")
                             .arg(path, messages.isEmpty() ? QStringLiteral("no dictionary") : messages.last());
            return false;
        }
    }
    meter.SetBlock(frame::kCmdControlCode, 1, code);
    return true;
}
