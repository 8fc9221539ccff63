#include "link/Link.h"

#include <optional>

#include "link/Decoder.h"
#include "link/Trace.h"

namespace projector {

using toolkit::SerialError;

Link::Link(toolkit::SerialPort& MSComm1, toolkit::Timer& Timer2, toolkit::Timer& Timer4,
           toolkit::Timer& reconnect)
    : MSComm1(MSComm1), Timer2(Timer2), Timer4(Timer4), reconnect_(reconnect) {
    MSComm1.onComm([this] { MSComm1_OnComm(); });
    Timer2.onTimer([this] { Timer2_Timer(); });
    Timer4.onTimer([this] { Timer4_Timer(); });
    reconnect_.setInterval(kReconnectCheckMs);
    reconnect_.onTimer([this] { reconnectCheck(); });
}

void Link::addListener(LinkListener& listener) {
    listeners_.push_back(&listener);
}

template <typename Call>
void Link::tellAll(Call call) {
    for (LinkListener* listener : listeners_) call(*listener);
}

void Link::tell(const PortEvent& event) {
    tellAll([&](LinkListener& listener) { listener.portEvent(event); });
}

PortEvent Link::portEvent(PortEvent::Kind kind, std::string description) const {
    return {kind, MSComm1.commPort(), MSComm1.device(), PortSettings, std::move(description)};
}

// Start-up, port switch, speed choice and shut-down.

void Link::setStartValues() {
    PortSettings = kSettings19200;
    CommandPrefix = "";
    ReplyPending = false;
    RxBuffer = "";
}

void Link::openPortAtStart() {
    MSComm1.setCommPort(1);
    MSComm1.setSettings(PortSettings);
    MSComm1.setPortOpen(true);
    tell(portEvent(PortEvent::Kind::Opened));
}

void Link::switchPort(int number) {
    // The operator has chosen: a lost device is no longer waited for.
    lost_ = false;
    reconnect_.setEnabled(false);
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
        if (!MSComm1.portOpen()) return;
        MSComm1.setPortOpen(false);
        tell(portEvent(PortEvent::Kind::Closed));
    });
    attempt([&] { MSComm1.setCommPort(number); });
    // A port left closed by an earlier failure is opened too, so that a new
    // choice brings the link back without a restart.
    if (!failure) {
        attempt([&] {
            MSComm1.setPortOpen(true);
            tell(portEvent(PortEvent::Kind::Opened));
        });
    }

    if (!failure) {
        tell(portEvent(PortEvent::Kind::Switched));
        return;
    }
    PortEvent failed = portEvent(PortEvent::Kind::SwitchFailed, *failure);
    failed.number = number;
    attempt([&] { MSComm1.setCommPort(other); });
    tell(failed);
}

void Link::setDevice(int number, const std::string& path) {
    MSComm1.setDevice(number, path);
}

void Link::chooseSpeed(std::string_view settings) {
    PortSettings = settings;
    try {
        MSComm1.setSettings(PortSettings);
    } catch (const SerialError& error) {
        tell(portEvent(PortEvent::Kind::SpeedFailed, error.what()));
        return;
    }
    tell(portEvent(PortEvent::Kind::SpeedChosen));
}

void Link::shutDown() {
    try {
        if (MSComm1.portOpen()) {
            MSComm1.setPortOpen(false);
            tell(portEvent(PortEvent::Kind::Closed));
        }
    } catch (const SerialError&) {
        // The program ends all the same, and the port with it.
    }
    Timer2.setEnabled(false);
    Timer4.setEnabled(false);
    reconnect_.setEnabled(false);
    shutDown_ = true;
}

// Transmit and receive.

void Link::setPacing(int replyTimeoutMs, int traceClearMs) {
    Timer2.setInterval(replyTimeoutMs);
    Timer4.setInterval(traceClearMs);
}

bool Link::send(std::string_view code) {
    SendLine = CommandPrefix;
    SendLine += code;
    SendLine += '\r';
    return Hyouji(Transmit);
}

void Link::dropPendingReply() {
    Timer2.setEnabled(false);
    Timer4.setEnabled(true);
    RxBuffer = "";
}

bool Link::Hyouji(HyoujiMode mode, const std::string& chunk) {
    if (mode == Transmit) {
        // A line the port cannot take fails here, before anything is traced.
        try {
            MSComm1.output(SendLine);
        } catch (const SerialError& error) {
            if (!lost_ && MSComm1.commEvent() == toolkit::CommEventLost) {
                deviceLost();  // the line found the device gone: that is the news
            } else {
                tellAll(
                    [&](LinkListener& listener) { listener.sendFailed(SendLine, error.what()); });
            }
            return false;
        }
        const std::string trace = traceOf(SendLine);
        tellAll([&](LinkListener& listener) { listener.lineSent(SendLine, trace); });
        Timer2.setEnabled(true);
        ReplyPending = true;
        Timer4.setEnabled(true);
        return true;
    }
    const std::string trace = traceOf(RxBuffer);
    tellAll([&](LinkListener& listener) { listener.received(chunk, trace); });
    if (const auto decoded = decodeReply(SendLine, CommandPrefix, trace, PressureValue)) {
        tellAll([&](LinkListener& listener) { listener.statusDecoded(*decoded); });
    }
    return true;
}

void Link::MSComm1_OnComm() {
    if (shutDown_) return;
    const int event = MSComm1.commEvent();
    if (event == toolkit::CommEventLost) {
        deviceLost();
        return;
    }
    if (event != toolkit::CommEventReceive) return;
    const std::string chunk = MSComm1.input();
    if (RxBuffer.size() < kRxBufferLimit) {
        RxBuffer.append(chunk, 0, kRxBufferLimit - RxBuffer.size());
    }
    ReplyPending = false;
    Hyouji(Receive, chunk);
}

// The countdowns that end each exchange by themselves.

// Reply time-out.
void Link::Timer2_Timer() {
    if (shutDown_) return;
    if (ReplyPending) tellAll([](LinkListener& listener) { listener.noReply(); });
    Timer2.setEnabled(false);
    RxBuffer = "";
    ReplyPending = false;
}

// Trace-clear delay.
void Link::Timer4_Timer() {
    if (shutDown_) return;
    tellAll([](LinkListener& listener) { listener.traceCleared(); });
    Timer4.setEnabled(false);
}

// A lost device and its return.

void Link::deviceLost() {
    if (lost_) return;  // one loss, however many events the port raises
    lost_ = true;
    reconnect_.setEnabled(true);
    tell(portEvent(PortEvent::Kind::Lost,
                   "The serial device " + MSComm1.device() + " (COM" +
                       std::to_string(MSComm1.commPort()) +
                       ") was lost: it was unplugged, or its other end hung up. The panel "
                       "connects again by itself as soon as it is back; to use another port, "
                       "choose it under COM."));
}

// Opening sends nothing: the projector hears from the panel only when the
// operator acts. While the device is away a check is one look, not a failed
// open each second.
void Link::reconnectCheck() {
    if (!lost_ || shutDown_) {
        reconnect_.setEnabled(false);
        return;
    }
    if (!MSComm1.devicePresent()) return;
    try {
        MSComm1.setPortOpen(true);
    } catch (const SerialError&) {
        return;  // not back yet
    }
    lost_ = false;
    reconnect_.setEnabled(false);
    tell(portEvent(PortEvent::Kind::Opened));
    tell(portEvent(PortEvent::Kind::Reconnected));
}

}  // namespace projector
