#pragma once
// The read and write commands of the main window, shared by the GUI and the command-line
// tool: the address test, the identification (and, before a write, the check that the
// meter is the one the configuration was made for), then the active page's own routine.
#include "PageRoutine.h"
#include "setpoints/SetpointExchange.h"
#include "rules/ControlCodeExchange.h"

#include <optional>

class CProcessCommand;
class ProgressSink;
class TermDictionary;
class UserPrompt;
struct ConfigModel;

// The tabs of the main view, in their order.
enum class PageKind { Connection, Setpoints, Groups, Archive, Limits, Pulse, Terminal };

// What the pages add to the shared commands. Everything may stay empty (the command-line
// tool); the pulse page needs the dictionary.
struct PageCallbacks {
    std::function<void()> loadConnectionPage;  // after the identity was taken from the meter
    SetpointHooks setpoints;
    PageHooks groups;
    PageHooks archive;
    PageHooks limits;
    ControlCodeHooks pulse;
    const TermDictionary* dictionary = nullptr;
    // The pulse page's decoded text, when there is no editor to take it.
    QByteArray* decodedRules = nullptr;
    // The compiler's lines of a pulse write.
    QStringList* compilerMessages = nullptr;
};

// The progress indicator of both commands starts with this range.
constexpr int kCommandProgressMaximum = 150;

bool ReadActivePage(PageKind page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                    ProgressSink& progress, UserPrompt& prompt, const PageCallbacks& callbacks = {});
bool WriteActivePage(PageKind page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                     ProgressSink& progress, UserPrompt& prompt, const PageCallbacks& callbacks = {});

// The page of a command-line PAGE word ("setpoints", "groups", "archive", "limits", "pulse").
std::optional<PageKind> PageKindFromName(const QString& name);
