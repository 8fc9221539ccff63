#pragma once
// Every reply time-out, trace-clear delay and repeat interval the window
// uses, in one place: the timer table's design values, the presets of the
// command buttons and of "SEND", what a release restores, and how the arrows
// are paced. The hold button table gives each held button's own.

#include "link/Link.h"
#include "vocabulary/Commands.h"

namespace panel {

// The reply time-out (Timer2) and the trace-clear delay (Timer4); 0 / 0 is
// no preset: the intervals in force stay.
struct Pacing {
    int replyTimeout = 0;
    int traceClear = 0;
};

inline constexpr Pacing kNoPreset{};
// At start, and again once a held button is let go.
inline constexpr Pacing kDesignPacing{projector::kReplyMs, 1000};
inline constexpr Pacing kPictureModePreset{projector::kPictureModeReplyMs, 2500};  // and "SEND"
inline constexpr Pacing kSignalTypePreset{projector::kSignalTypeReplyMs, 5500};
// An arrow's press after "A-IMAGE" or MENU "ON", and after a D.Zoom release.
inline constexpr Pacing kMenuArrowPacing{150, 190};
inline constexpr Pacing kZoomArrowPacing{5, 5};

// Timer1: at start and after "A-IMAGE" or MENU "ON"; after a D.Zoom release.
inline constexpr int kDesignRepeatMs = 200;
inline constexpr int kZoomArrowRepeatMs = 5;

inline constexpr int kSettingsAutoHideMs = 5000;  // Timer3
inline constexpr int kSpareTimerMs = 2000;        // Timer5, never enabled

// Sets both intervals, unless it is no preset.
inline void pace(projector::Link& link, const Pacing& pacing) {
    if (pacing.replyTimeout != 0) link.setPacing(pacing.replyTimeout, pacing.traceClear);
}

}  // namespace panel
