#include "sim/Simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "sim/DeviceWire.h"
#include "sim/PtyWire.h"
#include "sim/Responder.h"
#include "sim/TcpWire.h"

namespace sim {

namespace {

// Checks for a stop request at least this often.
constexpr int kLookMs = 100;

std::unique_ptr<Wire> wireFor(const Options& o) {
    if (!o.listen.empty()) return std::make_unique<TcpWire>(o.listen, o.baud);
    if (!o.device.empty()) return std::make_unique<DeviceWire>(o.device, o.baud);
    return std::make_unique<PtyWire>(o.link, o.baud);
}

}  // namespace

int Simulator::run(const volatile std::sig_atomic_t& stop) {
    std::unique_ptr<Wire> wire;
    try {
        wire = wireFor(o_);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "kr60p-sim: %s\n", error.what());
        return 1;
    }
    std::printf("%s\n", wire->where().c_str());
    std::fflush(stdout);

    Responder responder(o_);
    while (!stop && !responder.hungUp() && !wire->over()) {
        std::vector<pollfd> fds = wire->watch();
        int timeout = kLookMs;
        for (const int wait : {responder.untilDue(), wire->untilNextLook()}) {
            if (wait >= 0) timeout = std::min(timeout, wait);
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) break;
        const std::string heard = wire->take(fds, responder);
        if (!heard.empty()) responder.heard(heard, wire->panelBaud());
        if (!responder.hungUp()) wire->send(responder.due(wire->panelBaud()));
    }
    if (responder.hungUp()) responder.note("hung up");
    return 0;
}

}  // namespace sim
