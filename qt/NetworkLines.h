#pragma once
// Lines to device servers come from a library of their own, loaded when the
// first network device is opened, so that a program on a local serial device
// never loads Qt Network (nor what it brings: proxies, Kerberos).

#include <memory>
#include <string>

#include "qt/Line.h"
#include "toolkit/DeviceAddress.h"
#include "toolkit/Result.h"

namespace toolkit::qt {

using MakeNetworkLine = std::unique_ptr<Line> (*)(std::string device, NetworkAddress address,
                                                  Line::Events events);

// The library's maker of network lines, loaded once; why not, when it
// cannot be.
toolkit::Result<MakeNetworkLine> networkLines();

}  // namespace toolkit::qt

// What the library exports: its maker.
extern "C" toolkit::qt::MakeNetworkLine kr60pNetworkLines();
