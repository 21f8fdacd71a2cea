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

// A run of indicator steps, each followed by a pause except, unless asked, the last.
struct StepRun {
    int count;
    int pauseMs;
    bool pauseAfterLast;
};

// How a routine moves the status-bar indicator: an optional range and the step, then one
// run before and one after the page's own step (a read: loading the page; a write:
// sending the block).
struct ProgressPlan {
    int range;  // 0: the command's range stays
    int step;
    StepRun first;
    StepRun second;
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
                             {10, 1, {10, 20, true}, {0, 0, false}}, {10, 1, {0, 0, false}, {10, 20, true}}};
const SelectionBlock kArchive{frame::kCmdArchive, kArchiveMaskSize, RawSection<&ConfigModel::archive_mask>,
                              StoreRawSection<&ConfigModel::archive_mask>,
                              {0, 50, {2, 0, false}, {2, 100, false}}, {0, 50, {0, 0, false}, {4, 100, false}}};
const SelectionBlock kLimits{frame::kCmdDeviationLimits, kDeviationLimitsSize,
                             RawSection<&ConfigModel::deviation_limits>, StoreRawSection<&ConfigModel::deviation_limits>,
                             {0, 50, {0, 0, false}, {3, 20, true}}, {0, 50, {1, 0, false}, {2, 20, true}}};

const SelectionBlock& BlockOf(SelectionBlockId page)
{
    switch (page) {
    case SelectionBlockId::Groups:
        return kGroups;
    case SelectionBlockId::Archive:
        return kArchive;
    case SelectionBlockId::Limits:
        break;
    }
    return kLimits;
}

void Begin(ProgressSink& progress, const ProgressPlan& plan)
{
    if (plan.range)
        progress.SetRange(0, plan.range);
    progress.SetStep(plan.step);
}

void Run(ProgressSink& progress, const StepRun& run)
{
    for (int i = 0; i < run.count; ++i) {
        progress.StepIt();
        if (run.pauseMs && (i + 1 < run.count || run.pauseAfterLast))
            progress.Pause(run.pauseMs);
    }
}

// A short reply is refused with the read-failure warning, so it never reaches the model
// (the groups too: a short groups block would otherwise come in padded with zeros).
bool ReadBlockOf(const SelectionBlock& page, const LinkSettings& settings, CProcessCommand& engine,
                   ConfigModel& model, ProgressSink& progress, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    Begin(progress, page.read);
    QByteArray block(page.size, '\0');
    if (!engine.ReadWholeBlock(page.command, kReadSub, block, CProcessCommand::ShortReadBox::Warning))
        return false;
    page.storeSection(block, model);
    Run(progress, page.read.first);
    RunHook(hooks.loadPage);
    Run(progress, page.read.second);
    modelChanged().Set();
    return true;
}

bool WriteBlockOf(const SelectionBlock& page, const LinkSettings& settings, CProcessCommand& engine,
                    ConfigModel& model, ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    Begin(progress, page.write);
    RunHook(hooks.storePage);
    Run(progress, page.write.first);
    const QByteArray block = page.section(model);
    std::uint8_t status = 0;
    if (!engine.WriteBlock(page.command, kWriteSub, reinterpret_cast<const std::uint8_t*>(block.constData()),
                           std::uint16_t(block.size()), &status))
        return false;
    if (!WriteAccepted(status, prompt))
        return false;
    Run(progress, page.write.second);
    return true;
}

} // namespace

bool ReadSelection(SelectionBlockId page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt&, const PageHooks& hooks)
{
    return ReadBlockOf(BlockOf(page), settings, engine, model, progress, hooks);
}

bool WriteSelection(SelectionBlockId page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                    ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks)
{
    return WriteBlockOf(BlockOf(page), settings, engine, model, progress, prompt, hooks);
}
