#include "log/TrafficLog.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

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

std::string port(const projector::PortEvent& event) {
    return projector::portName(event.number) + " " + projector::shown(event.device);
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

TrafficLog::TrafficLog(std::FILE* out, std::function<void(const std::string&)> failed, Clock clock)
    : out_(out), failed_(std::move(failed)), clock_(std::move(clock)) {}

bool TrafficLog::write(const std::string& what) {
    if (!writing_) return false;
    const std::string line = clock_() + " " + oneLine(what) + "\n";
    if (std::fputs(line.c_str(), out_) >= 0 && std::fflush(out_) == 0) return true;
    writing_ = false;
    const int error = errno;
    if (failed_) {
        failed_("The traffic log could not be written (" + std::string(std::strerror(error)) +
                "); the panel goes on without it.");
    }
    return false;
}

bool TrafficLog::started(const std::string& program, const std::string& com1,
                         const std::string& com2) {
    return write(program + ": log started; COM1 = " + com1 + ", COM2 = " + com2);
}

void TrafficLog::warningShown(const std::string& text) {
    write("WARNING " + text);
}

void TrafficLog::note(const std::string& text) {
    write(text);
}

void TrafficLog::lineSent(const std::string& line, const std::string& /*trace*/) {
    write("TX" + traced(line));
}

void TrafficLog::sendFailed(const std::string& line, const toolkit::Fault& fault) {
    write("NOT SENT" + traced(line) + ": " + projector::notSentText(fault));
}

void TrafficLog::received(const std::string& chunk, const std::string& /*bufferTrace*/) {
    write("RX" + traced(chunk));
}

void TrafficLog::statusDecoded(const std::string& text) {
    write("STATUS " + text);
}

void TrafficLog::noReply() {
    write("NO REPLY");
}

void TrafficLog::portEvent(const projector::PortEvent& event) {
    switch (event.kind) {
        case Kind::Opened:
            write("OPENED " + port(event) + " " + event.settings);
            break;
        case Kind::Closed:
            write("CLOSED " + port(event));
            break;
        case Kind::Switched:
            write("SWITCHED to " + port(event));
            break;
        case Kind::SwitchFailed:
            write("SWITCH FAILED " + port(event) + ": " + projector::faultText(event.fault));
            break;
        case Kind::SpeedChosen:
            write("SPEED " + event.settings);
            break;
        case Kind::SpeedFailed:
            write("SPEED FAILED " + event.settings + ": " + projector::faultText(event.fault));
            break;
        case Kind::Lost:
            write("LOST " + port(event));
            break;
        case Kind::Reconnected:
            write("RECONNECTED " + port(event) + " " + event.settings);
            break;
        case Kind::Started:
            break;  // the OPENED line says it
        case Kind::StartFailed:
            write("CANNOT START " + port(event) + ": " + projector::faultText(event.fault));
            break;
        case Kind::Notice:
            write("NOTICE " + port(event) + ": " + projector::faultText(event.fault));
            break;
        case Kind::Ended:
            write("ENDED: " + event.reason);
            break;
    }
}

}  // namespace trafficlog
