#include "AllPages.h"

#include "ConnectionCheck.h"
#include "common/UserPrompt.h"
#include "model/ConfigModel.h"

namespace {

void NoteFailure(PageId page, std::optional<PageId>* failed)
{
    if (failed)
        *failed = page;
}

} // namespace

QList<PageId> DevicePages()
{
    QList<PageId> pages;
    for (const PageDescriptor& page : PageTable()) {
        if (page.cliWord && page.Reads() && page.Writes())
            pages << page.id;
    }
    return pages;
}

bool ReadAllPages(PageContext& context, const PageHooks& hooks, std::optional<PageId>* failed)
{
    StartCommandProgress(context.progress);
    const std::optional<DeviceIdentity> identity = CheckConnection(context.link, context.engine, context.prompt);
    if (!identity)
        return false;
    ConfigModel read = context.model;
    // As the single-page read does: the identity goes in only when the file has none.
    const bool takeIdentity = read.firmware_version.isEmpty() && read.modification.isEmpty();
    if (takeIdentity) {
        read.firmware_version = identity->version;
        read.modification = identity->modelName;
    }
    PageContext pages{context.link, context.engine, read, context.progress, context.prompt, {}};
    for (PageId id : DevicePages()) {
        const PageDescriptor& page = Page(id);
        if (!page.read(pages, hooks)) {
            NoteFailure(id, failed);
            context.prompt.Error(msg::ReadAllStopped(page.Caption()));
            return false;
        }
    }
    context.model = std::move(read);
    if (takeIdentity)
        RunHook(context.identityTaken);
    return true;
}

bool WriteAllPages(PageContext& context, const PageHooks& hooks, std::optional<PageId>* failed)
{
    StartCommandProgress(context.progress);
    const std::optional<DeviceIdentity> identity = CheckConnection(context.link, context.engine, context.prompt);
    if (!identity)
        return false;
    if (TakeMissingIdentity(context.model, *identity))
        RunHook(context.identityTaken);
    if (!VersionMatches(context.model, *identity, context.prompt))
        return false;
    for (PageId id : DevicePages()) {
        const PageDescriptor& page = Page(id);
        if (!page.write(context, hooks)) {
            NoteFailure(id, failed);
            context.prompt.Error(msg::WriteAllStopped(page.Caption()));
            return false;
        }
    }
    return true;
}
