#pragma once
// What the program says when it cannot start: no display to show the window
// on, or no traffic log to write. (A port that cannot be opened is the
// window's to say: it offers another device.)

#include <string>

#include "app/ExitStatus.h"

namespace app {

// From here until displayReady(), a failure to reach a display ends the
// program with one clear line on standard error and the given status,
// instead of Qt's abort; any other failure to start Qt is told in Qt's own
// words. Qt's messages of a successful attempt are printed once it is over.
void watchForDisplay(int exitStatus = kExitCannotStart);
void displayReady();

// Says on standard error, and in a box where there is a display, why the
// traffic log cannot be written; returns the exit status, 2.
int logFailure(int argc, char* argv[], const std::string& reason);

}  // namespace app
