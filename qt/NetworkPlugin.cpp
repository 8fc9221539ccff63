// The library of network lines: Qt Network, loaded on the first network
// device.

#include "qt/NetworkLine.h"
#include "qt/NetworkLines.h"

namespace {

std::unique_ptr<toolkit::qt::Line> make(std::string device, toolkit::NetworkAddress address,
                                        toolkit::qt::Line::Events events) {
    return std::make_unique<toolkit::qt::NetworkLine>(std::move(device), std::move(address),
                                                      std::move(events));
}

}  // namespace

extern "C" Q_DECL_EXPORT toolkit::qt::MakeNetworkLine kr60pNetworkLines() {
    return &make;
}
