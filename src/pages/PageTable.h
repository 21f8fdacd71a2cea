#pragma once
// The one table of the main view's pages, in tab order: caption, command-line word, the read
// and write commands' texts, whether the page holds part of the configuration, and its read
// and write routines. The page host, the main window's commands and the command-line tool
// all take the pages from here; a new page is a row of this table and its own files.
#include "device/PageRoutine.h"

#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <optional>

class CProcessCommand;
class ProgressSink;
class UserPrompt;
struct ConfigModel;

enum class PageId { Connection, Setpoints, Groups, Archive, Limits, Pulse, Terminal };
constexpr int kPageCount = 7;

constexpr int PageIndex(PageId page) { return static_cast<int>(page); }
// Any index outside the table is the connection page, as the tab strip treats it.
constexpr PageId PageAt(int index)
{
    return index >= 0 && index < kPageCount ? static_cast<PageId>(index) : PageId::Connection;
}

// What a page routine works with: where the meter is, the engine, the document's model,
// the status-bar indicator and the user.
struct PageContext {
    LinkSettings link;
    CProcessCommand& engine;
    ConfigModel& model;
    ProgressSink& progress;
    UserPrompt& prompt;
    // After a command took the meter's identity into the model: the connection page shows it.
    std::function<void()> identityTaken;
};

using PageRoutineFn = bool (*)(PageContext& context, const PageHooks& hooks);

struct PageDescriptor {
    PageId id;
    const char16_t* caption;
    const char* cliWord;         // the command line's PAGE word; null when there is none
    const char16_t* readText;    // the read command's text while the tab shows; null: disabled
    const char16_t* writeText;   // the write command's text; null: disabled
    bool holdsModel;             // ExchangeWithModel moves part of the configuration
    PageRoutineFn read;          // the page's own exchange after the address test and identification
    PageRoutineFn write;

    bool Reads() const { return readText != nullptr; }
    bool Writes() const { return writeText != nullptr; }
    QString Caption() const { return QString::fromUtf16(caption); }
    QString ReadText() const;
    QString WriteText() const;
};

const std::array<PageDescriptor, kPageCount>& PageTable();
const PageDescriptor& Page(PageId page);

// The order in which the host loads the pages from the model and stores them back:
// connection first, deviations after the pulse page.
const std::array<PageId, 6>& ModelExchangeOrder();

// The page of a command-line PAGE word ("setpoints", "groups", "archive", "limits", "pulse").
std::optional<PageId> PageFromCliWord(QStringView word);
// The PAGE words in tab order, for usage texts.
QString CliPageWords(const QString& separator);

// The progress indicator of both commands starts with this range.
constexpr int kCommandProgressMaximum = 150;

// The read and write commands of the main window: the address test, the identification
// (and, before a write, the check that the meter is the one the configuration was made
// for), then the active page's own routine.
bool ReadActivePage(PageId page, PageContext& context, const PageHooks& hooks = {});
bool WriteActivePage(PageId page, PageContext& context, const PageHooks& hooks = {});
