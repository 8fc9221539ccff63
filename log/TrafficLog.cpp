#include "log/TrafficLog.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "vocabulary/Sentences.h"
#include "vocabulary/Trace.h"

namespace trafficlog {

namespace {

using Kind = projector::PortEvent::Kind;

// The trace of the bytes and, for the record, their values in hexadecimal.
std::string traced(const std::string& bytes) {
    std::string text = projector::traceOf(bytes) + "|";
    for (const char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(c));
        text += hex;
    }
    return text;
}

// One event, one line.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

std::FILE* openLog(const std::string& path) {
    if (path == "-") return stderr;
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) {
        throw std::runtime_error("cannot write the traffic log to " + path + ": " +
                                 std::strerror(errno) + ".");
    }
    return file;
}

TrafficLog::TrafficLog(const std::vector<Sink>& sinks,
                       std::function<void(const std::string&)> failed, Clock clock)
    : failed_(std::move(failed)), clock_(std::move(clock)) {
    setSinks(sinks);
}

TrafficLog::TrafficLog(std::FILE* out, std::function<void(const std::string&)> failed, Clock clock)
    : TrafficLog(std::vector<Sink>{{out, true}}, std::move(failed), std::move(clock)) {}

void TrafficLog::setSinks(const std::vector<Sink>& sinks) {
    streams_.clear();
    for (const Sink& sink : sinks) streams_.push_back({sink, true});
}

bool TrafficLog::write(Level level, const std::string& what) {
    bool written = false;
    const std::string line = clock_() + " " + oneLine(what) + "\n";
    for (Stream& stream : streams_) {
        if (!stream.writing || (level == Level::Detail && !stream.sink.detail)) continue;
        if (std::fputs(line.c_str(), stream.sink.file) >= 0 && std::fflush(stream.sink.file) == 0) {
            written = true;
            continue;
        }
        stream.writing = false;
        const int error = errno;
        if (failed_) {
            failed_("The traffic log could not be written (" + std::string(std::strerror(error)) +
                    "); " + program_ + " goes on without it.");
        }
    }
    return written;
}

std::string TrafficLog::port(const projector::PortEvent& event) const {
    if (oneDevice_) return projector::shown(event.device);
    return projector::portName(event.number) + " " + projector::shown(event.device);
}

std::string TrafficLog::fault(toolkit::Fault fault) const {
    if (!oneDevice_) return projector::faultText(fault);
    fault.number = 0;
    return projector::faultText(fault, projector::Reader::Service);
}

bool TrafficLog::started(const std::string& program, const std::string& com1,
                         const std::string& com2) {
    if (oneDevice_) return write(Level::Event, program + ": log started; device " + com1);
    return write(Level::Event, program + ": log started; COM1 = " + com1 + ", COM2 = " + com2);
}

void TrafficLog::warningShown(const std::string& text) {
    write(Level::Event, "WARNING " + text);
}

void TrafficLog::lineSent(const std::string& line, const std::string& /*trace*/) {
    write(Level::Detail, "TX" + traced(line));
}

void TrafficLog::sendFailed(const std::string& line, const toolkit::Fault& failure) {
    toolkit::Fault told = failure;
    if (oneDevice_) told.number = 0;
    write(Level::Detail, "NOT SENT" + traced(line) + ": " + projector::notSentText(told));
}

void TrafficLog::received(const std::string& chunk, const std::string& /*bufferTrace*/) {
    write(Level::Detail, "RX" + traced(chunk));
}

void TrafficLog::statusDecoded(const std::string& text) {
    write(Level::Detail, "STATUS " + text);
}

void TrafficLog::noReply() {
    write(Level::Detail, "NO REPLY");
}

void TrafficLog::portEvent(const projector::PortEvent& event) {
    const bool reconnecting = std::exchange(reconnecting_, false);
    switch (event.kind) {
        case Kind::Opened:
            // Of one device, its return is one line: RECONNECTED says it.
            if (oneDevice_ && reconnecting) {
                reconnecting_ = true;
                break;
            }
            write(Level::Event, "OPENED " + port(event) + " " + event.settings);
            break;
        case Kind::Closed:
            write(Level::Event, "CLOSED " + port(event));
            break;
        case Kind::Switched:
            write(Level::Event, "SWITCHED to " + port(event));
            break;
        case Kind::SwitchFailed:
            write(Level::Event, "SWITCH FAILED " + port(event) + ": " + fault(event.fault));
            break;
        case Kind::SpeedChosen:
            write(Level::Event, "SPEED " + event.settings);
            break;
        case Kind::SpeedFailed:
            write(Level::Event, "SPEED FAILED " + event.settings + ": " + fault(event.fault));
            break;
        case Kind::Lost:
            reconnecting_ = true;
            write(Level::Event,
                  "LOST " + port(event) + (oneDevice_ ? ": " + fault(event.fault) : ""));
            break;
        case Kind::Reconnected:
            write(Level::Event, "RECONNECTED " + port(event) + " " + event.settings);
            break;
        case Kind::Started:
            break;  // the OPENED line says it
        case Kind::StartFailed:
            reconnecting_ = true;
            write(Level::Event, "CANNOT START " + port(event) + ": " + fault(event.fault));
            break;
        case Kind::Notice:
            reconnecting_ = reconnecting;
            write(Level::Event, "NOTICE " + port(event) + ": " + fault(event.fault));
            break;
        case Kind::Ended:
            write(Level::Event, "ENDED: " + event.reason);
            break;
    }
}

}  // namespace trafficlog
