#include "PageTable.h"

#include "common/UserPrompt.h"
#include "device/ActivePage.h"
#include "device/DeviceMessages.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "rules/ControlCodeExchange.h"
#include "selection/SelectionExchange.h"
#include "setpoints/SetpointExchange.h"

namespace {

// The commands' texts on the tabs where they do nothing.
const QString kReadAnything = QStringLiteral("Считать данные из прибора");
const QString kWriteAnything = QStringLiteral("Записать данные в прибор");

bool Nothing(PageContext&, const PageHooks&) { return true; }

bool ReadSetpointPage(PageContext& c, const PageHooks& h)
{
    return ReadSetpoints(c.link, c.engine, c.model, c.progress, c.prompt, true, h);
}
bool WriteSetpointPage(PageContext& c, const PageHooks& h)
{
    return WriteSetpoints(c.link, c.engine, c.model, c.progress, c.prompt, h).Succeeded();
}

template <SelectionBlockId Page>
bool ReadSelectionPage(PageContext& c, const PageHooks& h)
{
    return ReadSelection(Page, c.link, c.engine, c.model, c.progress, c.prompt, h);
}
template <SelectionBlockId Page>
bool WriteSelectionPage(PageContext& c, const PageHooks& h)
{
    return WriteSelection(Page, c.link, c.engine, c.model, c.progress, c.prompt, h);
}

// Without an editor to take them, the decoded rules go into the configuration (the
// command-line tool: there the file plays the editor).
bool ReadPulsePage(PageContext& c, const PageHooks& h)
{
    if (!h.dictionary)
        return false;
    return ReadControlCode(c.link, c.engine, *h.dictionary, c.progress, c.prompt,
                           h.showText ? nullptr : &c.model.pulse_rules_text, h);
}
bool WritePulsePage(PageContext& c, const PageHooks& h)
{
    if (!h.dictionary)
        return false;
    return WriteControlCode(c.link, c.engine, *h.dictionary, c.model, c.progress, nullptr, h);
}

const std::array<PageDescriptor, kPageCount> kPages = {{
    {PageId::Connection, u"Настройки соединения", nullptr, u"Считать информацию о приборе", nullptr, true, Nothing,
     nullptr},
    {PageId::Setpoints, u"Уставки", "setpoints", u"Считать 'Уставки'", u"Записать 'Уставки'", true, ReadSetpointPage,
     WriteSetpointPage},
    {PageId::Groups, u"Группы", "groups", u"Считать 'Группы'", u"Записать 'Группы'", true, ReadSelectionPage<SelectionBlockId::Groups>,
     WriteSelectionPage<SelectionBlockId::Groups>},
    {PageId::Archive, u"Архивируемые данные", "archive", u"Считать 'Архивируемые данные'",
     u"Записать 'Архивируемые данные'", true, ReadSelectionPage<SelectionBlockId::Archive>, WriteSelectionPage<SelectionBlockId::Archive>},
    {PageId::Limits, u"Отклонения", "limits", u"Считать 'Отклонения'", u"Записать 'Отклонения'", true,
     ReadSelectionPage<SelectionBlockId::Limits>, WriteSelectionPage<SelectionBlockId::Limits>},
    {PageId::Pulse, u"Импульсные входы/выходы", "pulse", u"Считать 'Импульсные входы/выходы'",
     u"Записать 'Импульсные входы/выходы'", true, ReadPulsePage, WritePulsePage},
    {PageId::Terminal, u"Терминал", nullptr, nullptr, nullptr, false, nullptr, nullptr},
}};

const std::array<PageId, 6> kModelExchangeOrder = {PageId::Connection, PageId::Setpoints, PageId::Groups,
                                                   PageId::Archive,    PageId::Pulse,     PageId::Limits};

bool AddressInRange(const PageContext& c)
{
    if (IsValidDeviceAddress(c.link.deviceAddress))
        return true;
    c.prompt.PlainNotice(msg::kAddressRangePage);
    return false;
}

bool IdentifyMeter(PageContext& c, DeviceIdentity& identity)
{
    ApplyLinkSettings(c.engine, c.link);
    if (c.engine.Identify(&identity))
        return true;
    c.prompt.Error(msg::kExchangeFailure);
    return false;
}

void StartProgress(ProgressSink& progress)
{
    progress.SetRange(0, kCommandProgressMaximum);
    progress.SetStep(1);
}

} // namespace

QString PageDescriptor::ReadText() const
{
    return readText ? QString::fromUtf16(readText) : kReadAnything;
}

QString PageDescriptor::WriteText() const
{
    return writeText ? QString::fromUtf16(writeText) : kWriteAnything;
}

const std::array<PageDescriptor, kPageCount>& PageTable() { return kPages; }

const PageDescriptor& Page(PageId page) { return kPages[std::size_t(PageIndex(page))]; }

const std::array<PageId, 6>& ModelExchangeOrder() { return kModelExchangeOrder; }

std::optional<PageId> PageFromCliWord(QStringView word)
{
    for (const PageDescriptor& page : kPages) {
        if (page.cliWord && word == QLatin1String(page.cliWord))
            return page.id;
    }
    return std::nullopt;
}

QString CliPageWords(const QString& separator)
{
    QStringList words;
    for (const PageDescriptor& page : kPages) {
        if (page.cliWord)
            words << QLatin1String(page.cliWord);
    }
    return words.join(separator);
}

bool ReadActivePage(PageId id, PageContext& context, const PageHooks& hooks)
{
    const PageDescriptor& page = Page(id);
    if (!page.Reads())
        return false;  // the command is disabled there
    StartProgress(context.progress);
    if (!AddressInRange(context))
        return false;
    ConfigModel& model = context.model;
    if (model.firmware_version.isEmpty() && model.modification.isEmpty()) {
        DeviceIdentity identity;
        if (!IdentifyMeter(context, identity))
            return false;
        model.firmware_version = identity.version;
        model.modification = identity.modelName;
        RunHook(context.identityTaken);
    }
    return page.read(context, hooks);
}

bool WriteActivePage(PageId id, PageContext& context, const PageHooks& hooks)
{
    const PageDescriptor& page = Page(id);
    if (!page.Writes())
        return false;  // the command is disabled there
    StartProgress(context.progress);
    if (!AddressInRange(context))
        return false;
    DeviceIdentity identity;
    if (!IdentifyMeter(context, identity))
        return false;
    ConfigModel& model = context.model;
    const bool taken = model.firmware_version.isEmpty() || model.modification.isEmpty();
    if (model.firmware_version.isEmpty())
        model.firmware_version = identity.version;
    if (model.modification.isEmpty())
        model.modification = identity.modelName;
    if (taken)
        RunHook(context.identityTaken);
    if (model.firmware_version != identity.version || model.modification != identity.modelName) {
        context.prompt.Error(msg::kVersionConflict);
        return false;
    }
    return page.write(context, hooks);
}
