#pragma once
// --list-ports: the serial devices present, one a line, with the port number
// each stands for.

#include <string>
#include <vector>

#include "link/DeviceChoice.h"
#include "toolkit/SerialDevices.h"

namespace app {

// Stable path, kernel name, description and the port it stands for ("COM1",
// "-" for none), in columns; "No serial devices found." where there are none.
std::string portList(const std::vector<toolkit::SerialDevice>& present,
                     const projector::DeviceChoice& choice);

}  // namespace app
