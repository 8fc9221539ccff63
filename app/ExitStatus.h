#pragma once
// The programs' exit statuses, as their manual pages give them.

namespace app {

inline constexpr int kExitDone = 0;
// kr60p-panel: no display, or Quit chosen in the start-up box.
inline constexpr int kExitCannotStart = 1;
// kr60p-ctl: a command got no answer (none, cut short, unreadable, of another kind).
inline constexpr int kExitNoAnswer = 1;
// Both: the command line is wrong, or the traffic log cannot be written.
inline constexpr int kExitUsage = 2;
// kr60p-ctl: the device could not be opened or reached, or was lost.
inline constexpr int kExitDevice = 3;
// kr60p-ctl: ended by SIGINT, SIGTERM or SIGHUP.
inline constexpr int kExitInterrupted = 130;

}  // namespace app
