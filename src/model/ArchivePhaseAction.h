#pragma once
// The voltage page's request to the archive page, program-wide: when the wiring changes
// the phase A, B and C archive marks are cleared (a three-wire connection has no phase
// voltages) or brought back. The archive page carries it out on its timer and resets it.
#include <cstdint>

enum class ArchivePhaseAction : std::uint8_t { None = 0, Clear = 1, Restore = 2 };

inline ArchivePhaseAction& archivePhaseAction()
{
    static ArchivePhaseAction action = ArchivePhaseAction::None;
    return action;
}
