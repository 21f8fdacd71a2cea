#include "SelectionExchange.h"

#include "common/UserPrompt.h"
#include "device/DeviceMessages.h"
#include "device/Frame.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kReadSub = 0x01;
constexpr std::uint8_t kWriteSub = 0x81;
constexpr int kGroupsSteps = 10;
constexpr int kBlockPageStep = 50;

void Steps(ProgressSink& progress, int count, int pauseMs)
{
    for (int i = 0; i < count; ++i) {
        progress.StepIt();
        progress.Pause(pauseMs);
    }
}

// Reads a whole block; a reply shorter than the block is refused with the read-failure
// warning, so a short answer never reaches the model.
bool ReadWhole(CProcessCommand& engine, UserPrompt& prompt, std::uint8_t command, QByteArray& block)
{
    std::uint16_t length = std::uint16_t(block.size());
    if (!engine.ReadBlock(command, kReadSub, reinterpret_cast<std::uint8_t*>(block.data()), &length))
        return false;
    if (length < block.size()) {
        prompt.Warning(msg::kReadFailure);
        return false;
    }
    return true;
}

bool WriteWhole(CProcessCommand& engine, std::uint8_t command, const QByteArray& block)
{
    return engine.WriteBlock(command, kWriteSub, reinterpret_cast<const std::uint8_t*>(block.constData()),
                             std::uint16_t(block.size()));
}

template <std::size_t N>
QByteArray BytesOf(const std::array<quint8, N>& section)
{
    return QByteArray(reinterpret_cast<const char*>(section.data()), int(N));
}

template <std::size_t N>
void StoreBytes(const QByteArray& block, std::array<quint8, N>& section)
{
    std::copy_n(reinterpret_cast<const quint8*>(block.constData()), N, section.begin());
}

} // namespace

bool ReadGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt& prompt, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetRange(0, kGroupsSteps);
    progress.SetStep(1);
    QByteArray block(kGroupsBlockSize, '\0');
    if (!ReadWhole(engine, prompt, frame::kCmdGroups, block))
        return false;
    model.groups = GroupsFromBytes(block);
    Steps(progress, kGroupsSteps, 20);
    RunHook(hooks.loadPage);
    modelChanged().Set();
    return true;
}

bool WriteGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt&, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetRange(0, kGroupsSteps);
    progress.SetStep(1);
    RunHook(hooks.storePage);
    if (!WriteWhole(engine, frame::kCmdGroups, GroupsToBytes(model.groups)))
        return false;
    Steps(progress, kGroupsSteps, 20);
    return true;
}

bool ReadArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetStep(kBlockPageStep);
    QByteArray block(kArchiveMaskSize, '\0');
    if (!ReadWhole(engine, prompt, frame::kCmdArchive, block))
        return false;
    progress.StepIt();
    progress.StepIt();
    StoreBytes(block, model.archive_mask);
    RunHook(hooks.loadPage);
    progress.StepIt();
    progress.Pause(100);
    progress.StepIt();
    modelChanged().Set();
    return true;
}

bool WriteArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                  UserPrompt&, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetStep(kBlockPageStep);
    RunHook(hooks.storePage);
    if (!WriteWhole(engine, frame::kCmdArchive, BytesOf(model.archive_mask)))
        return false;
    Steps(progress, 3, 100);
    progress.StepIt();
    return true;
}

bool ReadLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt& prompt, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetStep(kBlockPageStep);
    QByteArray block(kDeviationLimitsSize, '\0');
    if (!ReadWhole(engine, prompt, frame::kCmdDeviationLimits, block))
        return false;
    StoreBytes(block, model.deviation_limits);
    RunHook(hooks.loadPage);
    Steps(progress, 3, 20);
    modelChanged().Set();
    return true;
}

bool WriteLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt&, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetStep(kBlockPageStep);
    RunHook(hooks.storePage);
    progress.StepIt();
    if (!WriteWhole(engine, frame::kCmdDeviationLimits, BytesOf(model.deviation_limits)))
        return false;
    Steps(progress, 2, 20);
    return true;
}
