#pragma once
// Reading and writing every setpoint of the meter: a fixed sequence of small blocks through
// the protocol engine, with the clock, the operating mode and the network address, and the
// questions and reports of both directions. The "Уставки" page supplies the hooks into its
// sub-pages (storePage and loadPage reach every sub-page, the time sub-page has its own);
// the command-line tool runs the same routines without them.
#include "device/PageRoutine.h"

class CProcessCommand;
class ProgressSink;
class UserPrompt;
struct ConfigModel;

// Fills the model from the meter; blocks decoded before a failure stay in the model. With
// refresh, the sub-pages are loaded and modelChanged is set after a complete read.
bool ReadSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt& prompt, bool refresh, const PageHooks& hooks = {});

struct SetpointWriteResult {
    bool finished = false;       // the sequence ran to its end (it may still report below)
    bool notStopped = false;     // the meter answered 18: it must be stopped
    bool notAllWritten = false;  // the meter refused a block (status 2 or 3)
    bool Succeeded() const { return finished && !notStopped && !notAllWritten; }
};

// Sends the model to the meter and reports to the user itself.
SetpointWriteResult WriteSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                                   ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks = {});
