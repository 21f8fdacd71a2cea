#include "ControlCodeExchange.h"

#include "RuleCompiler.h"
#include "RulesMessages.h"
#include "common/UserPrompt.h"
#include "device/DeviceMessages.h"
#include "device/Frame.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

namespace {

constexpr int kPageStep = 50;

void ThreeSteps(ProgressSink& progress)
{
    progress.SetStep(kPageStep);
    for (int i = 0; i < 3; ++i) {
        progress.StepIt();
        progress.Pause(20);
    }
}

} // namespace

bool ReadControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                     ProgressSink& progress, UserPrompt& prompt, QByteArray* text, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    QByteArray block(kControlCodeSize, '\0');
    if (!engine.ReadWholeBlock(frame::kCmdControlCode, 0x01, block, CProcessCommand::ShortReadBox::Notice))
        return false;
    QByteArray decoded;
    if (!RuleCompiler(dictionary).Decode(block, decoded)) {
        prompt.Notice(msg::kUndecodable);
        return false;
    }
    if (text)
        *text = decoded;
    if (hooks.showText)
        hooks.showText(decoded);
    ThreeSteps(progress);
    modelChanged().Set();
    return true;
}

bool WriteControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                      ConfigModel& model, ProgressSink& progress, QStringList* messages, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    RunHook(hooks.storePage);
    QByteArray block = EmptyControlCode();
    QStringList lines;
    const bool compiled = RuleCompiler(dictionary).Compile(model.pulse_rules_text, block, lines);
    if (messages)
        *messages = lines;
    if (hooks.showMessages)
        hooks.showMessages(lines);
    if (!compiled)
        return false;
    std::uint8_t status = 0;
    if (!engine.WriteBlock(frame::kCmdControlCode, 0x81, reinterpret_cast<const std::uint8_t*>(block.constData()),
                           std::uint16_t(block.size()), &status))
        return false;
    if (!WriteAccepted(status, engine.Prompt()))
        return false;
    ThreeSteps(progress);
    return true;
}
