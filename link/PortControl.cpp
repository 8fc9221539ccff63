// Start-up, port switch, speed choice and shut-down of the serial port.

#include <optional>

#include "link/Link.h"

namespace projector {

using toolkit::SerialError;

Link::Link(const LinkControls& controls) : c_(controls) {}

void Link::setStartValues() {
    PortSettings = kSettings19200;
    CommandPrefix = "";
    ReplyPending = 0;
    RxBuffer = "";
}

void Link::openPortAtStart() {
    c_.MSComm1.setCommPort(1);
    c_.MSComm1.setSettings(PortSettings);
    c_.MSComm1.setPortOpen(true);
}

void Link::switchPort(int number) {
    const int other = number == 1 ? 2 : 1;
    std::optional<std::string> failure;
    const auto attempt = [&failure](auto step) {
        try {
            step();
        } catch (const SerialError& error) {
            failure = error.what();
        }
    };
    attempt([&] {
        if (c_.MSComm1.portOpen()) c_.MSComm1.setPortOpen(false);
    });
    attempt([&] { c_.MSComm1.setCommPort(number); });
    // A port left closed by an earlier failure is opened too, so that a new
    // choice brings the link back without a restart.
    if (!failure) attempt([&] { c_.MSComm1.setPortOpen(true); });

    if (failure) {
        c_.messageBox.warn(*failure);
        c_.MSComm1.setCommPort(other);
    } else {
        c_.Frame8.setVisible(false);
    }
}

void Link::chooseSpeed(const std::string& settings) {
    PortSettings = settings;
    c_.MSComm1.setSettings(PortSettings);
    c_.Frame8.setVisible(false);
}

void Link::shutDown() {
    if (c_.MSComm1.portOpen()) c_.MSComm1.setPortOpen(false);
}

}  // namespace projector
