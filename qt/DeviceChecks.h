#pragma once
// What the system says about a device path before and as it is opened: is
// anything there, is it a terminal, may this user use it, and does another
// program hold it (a lock file in /run/lock, or flock on the device).

#include <optional>
#include <string>

#include "toolkit/Fault.h"

namespace toolkit::qt {

// Why the path cannot be opened as a serial device; nothing when it may be.
// The fault names the device only; the caller adds the port number.
std::optional<Fault> pathProblem(const std::string& path);

// Takes an exclusive flock on the open device, kept while fd is open, so that
// programs that lock this way see it held. When another program holds it
// already: who, where that can be told ("picocom, process 1234"), else "".
std::optional<std::string> holdDevice(int fd, const std::string& path);

}  // namespace toolkit::qt
