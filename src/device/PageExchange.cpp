#include "PageExchange.h"

#include "ActivePage.h"
#include "DeviceMessages.h"
#include "ProcessCommand.h"
#include "ProgressSink.h"
#include "common/UserPrompt.h"
#include "model/ConfigModel.h"
#include "selection/SelectionExchange.h"

#include <QHash>

namespace {


bool AddressInRange(const LinkSettings& settings, UserPrompt& prompt)
{
    if (IsValidDeviceAddress(settings.deviceAddress))
        return true;
    prompt.PlainNotice(msg::kAddressRangePage);
    return false;
}

bool IdentifyMeter(const LinkSettings& settings, CProcessCommand& engine, UserPrompt& prompt,
                   DeviceIdentity& identity)
{
    ApplyLinkSettings(engine, settings);
    if (engine.Identify(&identity))
        return true;
    prompt.Error(msg::kExchangeFailure);
    return false;
}

void StartProgress(ProgressSink& progress)
{
    progress.SetRange(0, kCommandProgressMaximum);
    progress.SetStep(1);
}

} // namespace

std::optional<PageKind> PageKindFromName(const QString& name)
{
    static const QHash<QString, PageKind> pages = {
        {QStringLiteral("setpoints"), PageKind::Setpoints}, {QStringLiteral("groups"), PageKind::Groups},
        {QStringLiteral("archive"), PageKind::Archive},     {QStringLiteral("limits"), PageKind::Limits},
        {QStringLiteral("pulse"), PageKind::Pulse},
    };
    const auto it = pages.constFind(name);
    if (it == pages.constEnd())
        return std::nullopt;
    return *it;
}

bool ReadActivePage(PageKind page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                    ProgressSink& progress, UserPrompt& prompt, const PageCallbacks& callbacks)
{
    if (page == PageKind::Terminal)
        return false;  // the command is disabled there
    StartProgress(progress);
    if (!AddressInRange(settings, prompt))
        return false;
    if (model.firmware_version.isEmpty() && model.modification.isEmpty()) {
        DeviceIdentity identity;
        if (!IdentifyMeter(settings, engine, prompt, identity))
            return false;
        model.firmware_version = identity.version;
        model.modification = identity.modelName;
        RunHook(callbacks.loadConnectionPage);
    }

    switch (page) {
    case PageKind::Connection:
        return true;
    case PageKind::Setpoints:
        return ReadSetpoints(settings, engine, model, progress, prompt, true, callbacks.setpoints);
    case PageKind::Groups:
        return ReadGroups(settings, engine, model, progress, prompt, callbacks.groups);
    case PageKind::Archive:
        return ReadArchive(settings, engine, model, progress, prompt, callbacks.archive);
    case PageKind::Limits:
        return ReadLimits(settings, engine, model, progress, prompt, callbacks.limits);
    case PageKind::Pulse:
        if (!callbacks.dictionary)
            return false;
        return ReadControlCode(settings, engine, *callbacks.dictionary, progress, prompt, callbacks.decodedRules,
                               callbacks.pulse);
    case PageKind::Terminal:
        break;
    }
    return false;
}

bool WriteActivePage(PageKind page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                     ProgressSink& progress, UserPrompt& prompt, const PageCallbacks& callbacks)
{
    if (page == PageKind::Connection || page == PageKind::Terminal)
        return false;  // the command is disabled there
    StartProgress(progress);
    if (!AddressInRange(settings, prompt))
        return false;
    DeviceIdentity identity;
    if (!IdentifyMeter(settings, engine, prompt, identity))
        return false;
    if (model.firmware_version.isEmpty())
        model.firmware_version = identity.version;
    if (model.modification.isEmpty())
        model.modification = identity.modelName;
    if (model.firmware_version != identity.version || model.modification != identity.modelName) {
        prompt.Error(msg::kVersionConflict);
        return false;
    }

    switch (page) {
    case PageKind::Setpoints:
        return WriteSetpoints(settings, engine, model, progress, prompt, callbacks.setpoints).Succeeded();
    case PageKind::Groups:
        return WriteGroups(settings, engine, model, progress, prompt, callbacks.groups);
    case PageKind::Archive:
        return WriteArchive(settings, engine, model, progress, prompt, callbacks.archive);
    case PageKind::Limits:
        return WriteLimits(settings, engine, model, progress, prompt, callbacks.limits);
    case PageKind::Pulse:
        if (!callbacks.dictionary)
            return false;
        return WriteControlCode(settings, engine, *callbacks.dictionary, model, progress, callbacks.compilerMessages,
                                callbacks.pulse);
    case PageKind::Connection:
    case PageKind::Terminal:
        break;
    }
    return false;
}
