#pragma once
// Reading and writing every setpoint of the meter: a fixed sequence of small blocks through
// the protocol engine, with the clock, the operating mode and the network address, and the
// questions and reports of both directions. The "Уставки" page supplies the hooks into its
// sub-pages; the command-line tool runs the same routines without them.
#include "device/PageRoutine.h"

#include <QDateTime>

class CProcessCommand;
class ProgressSink;
class UserPrompt;
struct ConfigModel;

struct SetpointHooks {
    // Whether the time sub-page's "Запись времени и даты" box is ticked, asked before the
    // sub-pages are stored; the model's write_time when unset.
    std::function<bool()> writeTimeTicked;
    std::function<void()> storePages;     // every sub-page -> model, before a write
    std::function<void()> storeTimePage;  // the time sub-page -> model, before the clock is set
    std::function<void()> loadPages;      // model -> every sub-page, after a read or a reset
    // The computer's local time for "use the PC's time"; the current time when unset.
    std::function<QDateTime()> now;
};

// Fills the model from the meter; blocks decoded before a failure stay in the model. With
// refresh, the sub-pages are loaded and modelChanged is set after a complete read.
bool ReadSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt& prompt, bool refresh, const SetpointHooks& hooks = {});

struct SetpointWriteResult {
    bool finished = false;       // the sequence ran to its end (it may still report below)
    bool notStopped = false;     // the meter answered 18: it must be stopped
    bool notAllWritten = false;  // the meter refused the averaging or the RVC block
    bool Succeeded() const { return finished && !notStopped && !notAllWritten; }
};

// Sends the model to the meter and reports to the user itself.
SetpointWriteResult WriteSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                                   ProgressSink& progress, UserPrompt& prompt, const SetpointHooks& hooks = {});
