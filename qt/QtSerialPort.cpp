#include "qt/QtSerialPort.h"

#include <unistd.h>

#include <QTimer>
#include <cerrno>

#include "qt/NetworkLines.h"
#include "qt/QtSerialDevices.h"
#include "qt/SerialLine.h"
#include "toolkit/DeviceAddress.h"

namespace toolkit::qt {

QtSerialPort::QtSerialPort() {
    settings_ = *readSerialSettings(settingsText_);
}

QtSerialPort::~QtSerialPort() = default;

std::string QtSerialPort::deviceOf(int number) const {
    const auto mapped = devices_.find(number);
    return mapped != devices_.end() ? mapped->second : builtInPort(number);
}

std::string QtSerialPort::device() const {
    return line_ ? openDevice_ : deviceOf(number_);
}

Fault QtSerialPort::numbered(Fault fault) const {
    fault.number = number_;
    return fault;
}

void QtSerialPort::setCommPort(int number) {
    if (line_) {
        throw SerialError(
            numbered(faultOf(Fault::Kind::CannotOpen, openDevice_,
                             "the port number cannot change while the port is open")));
    }
    number_ = number;
    lost_.reset();
}

void QtSerialPort::setSettings(const std::string& text) {
    const auto settings = readSerialSettings(text);
    if (!settings) {
        Fault unreadable = faultOf(Fault::Kind::BadSettings, device());
        unreadable.settings = text;
        throw SerialError(numbered(unreadable));
    }
    if (line_) {
        try {
            line_->apply(*settings, text);
        } catch (const SerialError& error) {
            throw SerialError(numbered(error.fault()));
        }
    }
    settingsText_ = text;
    settings_ = *settings;
}

std::unique_ptr<Line> QtSerialPort::makeLine(const std::string& device) {
    const std::uint64_t generation = ++generation_;
    Line::Events events;
    events.received = [this] { raise(CommEvent::Receive); };
    events.opened = [this, generation] { raiseLater(generation, CommEvent::Opened); };
    events.openFailed = [this, generation](Fault fault) {
        raiseLater(generation, CommEvent::OpenFailed, std::move(fault));
    };
    events.lost = [this, generation](Fault fault) { lostLine(generation, std::move(fault)); };
    // A notice is news once for a device, not again at each reconnect.
    events.notice = [this, generation, device](Fault fault) {
        if (!noticed_.insert({device, static_cast<int>(fault.kind), fault.detail}).second) return;
        raiseLater(generation, CommEvent::Notice, std::move(fault));
    };
    if (!isNetworkDevice(device)) return std::make_unique<SerialLine>(device, std::move(events));
    if (auto bad = addressFault(device)) throw SerialError(numbered(*bad));
    const auto lines = networkLines();
    if (!lines)
        throw SerialError(numbered(faultOf(Fault::Kind::CannotOpen, device, lines.error())));
    return (*lines)(device, *readAddress(device).address, std::move(events));
}

void QtSerialPort::setPortOpen(bool open) {
    if (!open) {
        line_.reset();
        opening_ = false;
        return;
    }
    if (line_) throw SerialError(numbered(faultOf(Fault::Kind::AlreadyOpen, device())));
    const std::string device = deviceOf(number_);
    std::unique_ptr<Line> line = makeLine(device);
    bool openNow = false;
    try {
        openNow = line->open(settings_, settingsText_);
    } catch (const SerialError& error) {
        throw SerialError(numbered(error.fault()));
    }
    line_ = std::move(line);
    openDevice_ = device;
    opening_ = !openNow;
    lost_.reset();
    commEvent_ = CommEvent::None;
}

bool QtSerialPort::devicePresent() const {
    const std::string device = deviceOf(number_);
    if (isNetworkDevice(device)) return true;  // only a connection can tell
    return ::access(device.c_str(), F_OK) == 0 || errno != ENOENT;
}

void QtSerialPort::output(const std::string& bytes) {
    if (!line_) {
        if (lost_) throw SerialError(*lost_);
        throw SerialError(numbered(faultOf(Fault::Kind::Closed, deviceOf(number_))));
    }
    try {
        line_->write(bytes);
    } catch (const SerialError& error) {
        throw SerialError(numbered(error.fault()));
    }
}

std::string QtSerialPort::input() {
    return line_ ? line_->readAll() : std::string();
}

void QtSerialPort::raise(CommEvent event, Fault fault) {
    commEvent_ = event;
    fault_ = std::move(fault);
    if (handler_) handler_();
}

// The line that reported is dropped here (a failed open), or may be by the
// link in answer: never while the line is still inside its own call.
void QtSerialPort::raiseLater(std::uint64_t generation, CommEvent event, Fault fault) {
    QTimer::singleShot(0, &context_, [this, generation, event, fault = numbered(std::move(fault))] {
        if (generation != generation_ || !line_) return;
        opening_ = false;
        if (event == CommEvent::OpenFailed) line_.reset();
        raise(event, fault);
    });
}

// The port is closed from this moment, so that a line sent meanwhile is told
// of the loss rather than of a closed port; the link hears of it from the
// event loop.
void QtSerialPort::lostLine(std::uint64_t generation, Fault fault) {
    if (generation != generation_ || !line_) return;
    retired_ = std::move(line_);
    opening_ = false;
    lost_ = numbered(std::move(fault));
    commEvent_ = CommEvent::Lost;
    fault_ = *lost_;
    QTimer::singleShot(0, &context_, [this, generation] {
        retired_.reset();
        if (generation == generation_ && commEvent_ == CommEvent::Lost && handler_) handler_();
    });
}

}  // namespace toolkit::qt
