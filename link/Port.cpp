#include "link/Port.h"

#include <utility>

#include "vocabulary/Trace.h"

namespace projector {

using toolkit::SerialError;

Port::Port(toolkit::SerialPort& MSComm1, toolkit::Timer& reconnect)
    : MSComm1(MSComm1), reconnect_(reconnect) {
    MSComm1.onComm([this] { onComm(); });
    reconnect_.setInterval(kReconnectCheckMs);
    reconnect_.onTimer([this] { reconnectCheck(); });
}

void Port::tell(const PortEvent& event) {
    listeners_.tell([&](LinkListener& listener) { listener.portEvent(event); });
    if (reader_) reader_->portEvent(event);
}

PortEvent Port::portEvent(PortEvent::Kind kind, toolkit::Fault fault) const {
    return {kind, MSComm1.commPort(), MSComm1.device(), PortSettings, std::move(fault), {}};
}

// The port's life.

void Port::enter(PortState state) {
    state_ = state;
    reconnect_.setEnabled(lookingForDevice());
}

bool Port::lookingForDevice() const {
    return state_ == PortState::Lost ||
           (state_ == PortState::Opening && otherwise_ == PortState::Lost);
}

void Port::closePort() {
    if (MSComm1.opening()) {
        MSComm1.setPortOpen(false);  // nothing was open yet: nothing to tell
    } else if (MSComm1.portOpen()) {
        const PortEvent closed = portEvent(PortEvent::Kind::Closed);
        MSComm1.setPortOpen(false);
        tell(closed);
    }
}

// Start-up, port switch, speed choice and shut-down.

bool Port::openPortAtStart() {
    return openFirst(Purpose::FirstOpen);
}

void Port::start(WhenAbsent whenAbsent) {
    openFirst(Purpose::Start,
              whenAbsent == WhenAbsent::KeepLooking ? PortState::Lost : PortState::Closed);
}

bool Port::openFirst(Purpose purpose, PortState otherwise) {
    starting_ = true;
    std::optional<toolkit::Fault> failure;
    try {
        MSComm1.setCommPort(1);
        MSComm1.setSettings(PortSettings);
        MSComm1.setPortOpen(true);
    } catch (const SerialError& error) {
        failure = error.fault();
    }
    openBegun(purpose, otherwise, failure);
    return !failure;
}

void Port::startEnded(const std::optional<toolkit::Fault>& failure) {
    starting_ = false;
    if (failure) {
        tell(portEvent(PortEvent::Kind::StartFailed, *failure));
    } else {
        tell(portEvent(PortEvent::Kind::Started));
    }
}

void Port::switchPort(int number) {
    // The operator has chosen: a lost device is no longer waited for, unless
    // the choice fails too, and an attempt still under way is given up.
    const PortState otherwise = lookingForDevice() ? PortState::Lost : PortState::Closed;
    enter(PortState::Closed);
    std::optional<toolkit::Fault> failure;
    const auto attempt = [&failure](auto step) {
        try {
            step();
        } catch (const SerialError& error) {
            failure = error.fault();
        }
    };
    attempt([&] { closePort(); });
    attempt([&] { MSComm1.setCommPort(number); });
    // A port left closed by an earlier failure is opened too, so that a new
    // choice brings the link back without a restart.
    if (!failure) attempt([&] { MSComm1.setPortOpen(true); });
    switchTo_ = number;
    switchFallback_ = number == 1 ? 2 : 1;
    openBegun(Purpose::Switch, otherwise, failure);
}

void Port::restorePort(int number, bool open) {
    const bool stillLost = lookingForDevice() && !open;
    std::optional<toolkit::Fault> failure;
    try {
        if (MSComm1.portOpen() || MSComm1.opening()) MSComm1.setPortOpen(false);
        MSComm1.setCommPort(number);
        if (open) MSComm1.setPortOpen(true);
    } catch (const SerialError& error) {
        failure = error.fault();
    }
    if (open || failure) {
        openBegun(Purpose::Restore, PortState::Lost, failure);
    } else {
        enter(stillLost ? PortState::Lost : PortState::Closed);
    }
}

void Port::setDevice(int number, const std::string& path) {
    MSComm1.setDevice(number, path);
}

void Port::chooseSpeed(std::string_view settings) {
    PortSettings = settings;
    try {
        MSComm1.setSettings(PortSettings);
    } catch (const SerialError& error) {
        tell(portEvent(PortEvent::Kind::SpeedFailed, error.fault()));
        return;
    }
    tell(portEvent(PortEvent::Kind::SpeedChosen));
}

void Port::shutDown(const std::string& reason) {
    if (state_ == PortState::Ended) return;
    try {
        closePort();
    } catch (const SerialError&) {
        // The program ends all the same, and the port with it.
    }
    enter(PortState::Ended);
    PortEvent ended = portEvent(PortEvent::Kind::Ended);
    ended.reason = reason;
    tell(ended);
}

// Bytes out and in.

std::optional<toolkit::Fault> Port::write(const std::string& line) {
    // A line the port cannot take fails here, before anything is traced.
    try {
        MSComm1.output(line);
    } catch (const SerialError& error) {
        if (!lookingForDevice() && MSComm1.commEvent() == toolkit::CommEvent::Lost) {
            const toolkit::Fault lost = MSComm1.fault();
            deviceLost(lost);  // the line found the device gone: that is the news
            return lost;
        }
        toolkit::Fault fault = error.fault();
        if (lookingForDevice()) {
            // Closed because the device went: say that it is being looked for.
            fault.kind = toolkit::Fault::Kind::Lost;
            fault.detail.clear();
        }
        listeners_.tell([&](LinkListener& listener) { listener.sendFailed(line, fault); });
        return fault;
    }
    const std::string trace = traceOf(line);
    listeners_.tell([&](LinkListener& listener) { listener.lineSent(line, trace); });
    return std::nullopt;
}

void Port::onComm() {
    if (state_ == PortState::Ended) return;
    switch (MSComm1.commEvent()) {
        case toolkit::CommEvent::Lost:
            deviceLost(MSComm1.fault());
            return;
        case toolkit::CommEvent::Opened:
            opened();
            return;
        case toolkit::CommEvent::OpenFailed:
            openFailed(MSComm1.fault());
            return;
        case toolkit::CommEvent::Notice:
            tell(portEvent(PortEvent::Kind::Notice, MSComm1.fault()));
            return;
        case toolkit::CommEvent::Receive:
            break;
        default:
            return;
    }
    const std::string chunk = MSComm1.input();
    if (reader_) reader_->bytesIn(chunk);
}

// Opens that take time, a lost device and its return.

void Port::openBegun(Purpose purpose, PortState otherwise,
                     const std::optional<toolkit::Fault>& failure) {
    purpose_ = purpose;
    otherwise_ = otherwise;
    enter(PortState::Opening);
    if (failure) {
        openFailed(*failure);
    } else if (!MSComm1.opening()) {
        opened();
    }
}

void Port::opened() {
    if (state_ != PortState::Opening) return;
    enter(PortState::Open);
    tell(portEvent(PortEvent::Kind::Opened));
    switch (purpose_) {
        case Purpose::FirstOpen:
            break;  // the window's start goes on with its choice of COM1, which ends it
        case Purpose::Start:
            startEnded(std::nullopt);
            break;
        case Purpose::Switch:
            tell(portEvent(PortEvent::Kind::Switched));
            if (starting_) startEnded(std::nullopt);
            break;
        case Purpose::Reconnect:
            tell(portEvent(PortEvent::Kind::Reconnected));
            break;
        case Purpose::Restore:
            break;
    }
}

void Port::openFailed(const toolkit::Fault& fault) {
    if (state_ != PortState::Opening) return;
    switch (purpose_) {
        case Purpose::FirstOpen:
        case Purpose::Start:
            enter(otherwise_);
            startEnded(fault);
            break;
        case Purpose::Switch: {
            enter(otherwise_);
            if (starting_) {
                startEnded(fault);
                break;
            }
            PortEvent failed = portEvent(PortEvent::Kind::SwitchFailed, fault);
            failed.number = switchTo_;
            // Followed while the device is away, the advice to choose a port
            // must not end the looking for it: it goes on for the chosen one.
            failed.reconnecting = state_ == PortState::Lost;
            if (!failed.reconnecting) {
                try {
                    MSComm1.setCommPort(switchFallback_);
                } catch (const SerialError&) {
                    // The port is closed; the number cannot be refused.
                }
            }
            tell(failed);
            break;
        }
        case Purpose::Reconnect:
            enter(PortState::Lost);  // not back yet: the next check tries again
            break;
        case Purpose::Restore:
            // What worked a moment ago has gone meanwhile.
            enter(PortState::Closed);
            deviceLost(fault);
            break;
    }
}

void Port::deviceLost(const toolkit::Fault& fault) {
    if (state_ == PortState::Ended || lookingForDevice()) return;  // one loss, however many events
    enter(PortState::Lost);
    tell(portEvent(PortEvent::Kind::Lost, fault));
}

// Opening sends nothing: the projector hears from the panel only when the
// operator acts. While the device is away a check is one look, not a failed
// open each second; a connection still being tried is left to finish.
void Port::reconnectCheck() {
    if (state_ != PortState::Lost || !MSComm1.devicePresent()) return;
    try {
        MSComm1.setPortOpen(true);
    } catch (const SerialError&) {
        return;  // not back yet
    }
    openBegun(Purpose::Reconnect, PortState::Lost, std::nullopt);
}

}  // namespace projector
