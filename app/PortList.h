#pragma once
// --list-ports: the serial devices present, one a line, with the port number
// each stands for, and what COM1 and COM2 stand for whether the system lists
// it or not (a pseudo-terminal, a device server, an adapter unplugged).

#include <string>
#include <vector>

#include "link/DeviceChoice.h"
#include "toolkit/SerialDevices.h"

namespace app {

// A header, then the stable path, kernel name, description and the port it
// stands for ("COM1", "-" for none), in columns.
std::string portList(const std::vector<toolkit::SerialDevice>& present,
                     const projector::DeviceChoice& choice);

}  // namespace app
