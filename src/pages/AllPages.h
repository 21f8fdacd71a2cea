#pragma once
// Every page that holds part of the meter's configuration, in tab order, in one run: one
// link test, one login and one identification (and before writing, the check that the
// meter is the one the configuration was made for), then each page's own read or write
// routine, the same ones the single-page commands run. For callers without pages (the
// command-line tool): the hooks reach no page controls.
#include "PageTable.h"

#include <QList>
#include <QString>

namespace msg {
inline QString ReadAllStopped(const QString& caption)
{
    return QStringLiteral("Чтение всех страниц прервано: страница '%1' не считана.").arg(caption);
}
inline QString WriteAllStopped(const QString& caption)
{
    return QStringLiteral("Запись всех страниц прервана: страница '%1' не записана.").arg(caption);
}
} // namespace msg

// The pages a whole-meter read or write visits, in tab order.
QList<PageId> DevicePages();

// Reads every page into a copy of the model and takes the copy only when every page
// succeeded: a failure leaves context.model exactly as it was. Stops at the first page that
// fails, names it to the user and in *failed.
bool ReadAllPages(PageContext& context, const PageHooks& hooks = {}, std::optional<PageId>* failed = nullptr);
// Writes the pages in order and stops at the first one that fails, naming it.
bool WriteAllPages(PageContext& context, const PageHooks& hooks = {}, std::optional<PageId>* failed = nullptr);
