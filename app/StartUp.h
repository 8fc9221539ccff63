#pragma once
// What the program says when it cannot start: no display to show the window
// on, or no serial port to open.

#include <string>

#include "link/DeviceChoice.h"

namespace app {

// From here until displayReady(), a failure to reach a display ends the
// program with one clear line on standard error and the given status,
// instead of Qt's abort; Qt's own messages of the attempt are printed only if
// it succeeds.
void watchForDisplay(int exitStatus = 1);
void displayReady();

// The start-up failure for port 1: what went wrong, and how to use another
// device, in the words that fit where COM1's device came from.
std::string startUpFailure(const std::string& reason, const projector::DeviceChoice::Device& com1);

// Says on standard error, and in a box where there is a display, why the
// traffic log cannot be written; returns the exit status, 2.
int logFailure(int argc, char* argv[], const std::string& reason);

}  // namespace app
