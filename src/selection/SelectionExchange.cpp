#include "SelectionExchange.h"

#include "device/Frame.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kReadSub = 0x01;
constexpr std::uint8_t kWriteSub = 0x81;

// How a routine moves the status-bar indicator: an optional range, the step, steps before
// the exchange, steps each followed by a pause after it, and a few quick steps at the end.
struct ProgressPlan {
    int range;  // 0: the command's range stays
    int step;
    int before;
    int paused;
    int pauseMs;
    int after;
};

// One page's block: its command, its section of the model and how each direction steps.
struct SelectionBlock {
    std::uint8_t command;
    int size;
    QByteArray (*section)(const ConfigModel&);
    void (*storeSection)(const QByteArray&, ConfigModel&);
    ProgressPlan read;
    ProgressPlan write;
};

template <auto Member>
QByteArray RawSection(const ConfigModel& model)
{
    const auto& raw = model.*Member;
    return QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size()));
}

template <auto Member>
void StoreRawSection(const QByteArray& block, ConfigModel& model)
{
    auto& raw = model.*Member;
    std::copy_n(reinterpret_cast<const quint8*>(block.constData()), raw.size(), raw.begin());
}

QByteArray GroupsSection(const ConfigModel& model) { return GroupsToBytes(model.groups); }
void StoreGroupsSection(const QByteArray& block, ConfigModel& model) { model.groups = GroupsFromBytes(block); }

const SelectionBlock kGroups{frame::kCmdGroups, kGroupsBlockSize, GroupsSection, StoreGroupsSection,
                             {10, 1, 0, 10, 20, 0}, {10, 1, 0, 10, 20, 0}};
const SelectionBlock kArchive{frame::kCmdArchive, kArchiveMaskSize, RawSection<&ConfigModel::archive_mask>,
                              StoreRawSection<&ConfigModel::archive_mask>, {0, 50, 0, 1, 100, 3},
                              {0, 50, 0, 3, 100, 1}};
const SelectionBlock kLimits{frame::kCmdDeviationLimits, kDeviationLimitsSize,
                             RawSection<&ConfigModel::deviation_limits>, StoreRawSection<&ConfigModel::deviation_limits>,
                             {0, 50, 0, 3, 20, 0}, {0, 50, 1, 2, 20, 0}};

void Begin(ProgressSink& progress, const ProgressPlan& plan)
{
    if (plan.range)
        progress.SetRange(0, plan.range);
    progress.SetStep(plan.step);
    for (int i = 0; i < plan.before; ++i)
        progress.StepIt();
}

void Finish(ProgressSink& progress, const ProgressPlan& plan)
{
    for (int i = 0; i < plan.paused; ++i) {
        progress.StepIt();
        progress.Pause(plan.pauseMs);
    }
    for (int i = 0; i < plan.after; ++i)
        progress.StepIt();
}

// A short reply is refused with the read-failure warning, so it never reaches the model.
bool ReadSelection(const SelectionBlock& page, const LinkSettings& settings, CProcessCommand& engine,
                   ConfigModel& model, ProgressSink& progress, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    Begin(progress, page.read);
    QByteArray block(page.size, '\0');
    if (!engine.ReadWholeBlock(page.command, kReadSub, block, CProcessCommand::ShortReadBox::Warning))
        return false;
    page.storeSection(block, model);
    RunHook(hooks.loadPage);
    Finish(progress, page.read);
    modelChanged().Set();
    return true;
}

bool WriteSelection(const SelectionBlock& page, const LinkSettings& settings, CProcessCommand& engine,
                    ConfigModel& model, ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    RunHook(hooks.storePage);
    Begin(progress, page.write);
    const QByteArray block = page.section(model);
    std::uint8_t status = 0;
    if (!engine.WriteBlock(page.command, kWriteSub, reinterpret_cast<const std::uint8_t*>(block.constData()),
                           std::uint16_t(block.size()), &status))
        return false;
    if (!WriteAccepted(status, prompt))
        return false;
    Finish(progress, page.write);
    return true;
}

} // namespace

bool ReadGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt&, const PageHooks& hooks)
{
    return ReadSelection(kGroups, settings, engine, model, progress, hooks);
}

bool WriteGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks)
{
    return WriteSelection(kGroups, settings, engine, model, progress, prompt, hooks);
}

bool ReadArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt&, const PageHooks& hooks)
{
    return ReadSelection(kArchive, settings, engine, model, progress, hooks);
}

bool WriteArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                  UserPrompt& prompt, const PageHooks& hooks)
{
    return WriteSelection(kArchive, settings, engine, model, progress, prompt, hooks);
}

bool ReadLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt&, const PageHooks& hooks)
{
    return ReadSelection(kLimits, settings, engine, model, progress, hooks);
}

bool WriteLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks)
{
    return WriteSelection(kLimits, settings, engine, model, progress, prompt, hooks);
}
