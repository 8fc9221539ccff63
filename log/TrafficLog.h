#pragma once
// The traffic log (--log FILE): a line for every event of the run, each with
// a local timestamp to the millisecond, written and flushed as it happens so
// that nothing is lost when the program is killed and nothing is held in
// memory. It listens to the port like the window does. Each line is an event
// a person acts on (opened, lost, back, ended, a warning) or traffic detail
// (every line sent and received, what a reply said); a stream takes the
// events alone, or both.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "link/LinkListener.h"
#include "toolkit/WallClock.h"

namespace trafficlog {

// The stream for --log: "-" is standard error, anything else a file opened
// for appending. Throws std::runtime_error naming the path and the reason.
std::FILE* openLog(const std::string& path);

enum class Level { Event, Detail };

// A stream, and whether the traffic detail goes there too.
struct Sink {
    std::FILE* file;
    bool detail = true;
};

class TrafficLog : public projector::LinkListener {
  public:
    using Clock = std::function<std::string()>;
    // failed: told once a stream, in words, when a write fails; that stream
    // then stops and the program goes on without it.
    TrafficLog(
        const std::vector<Sink>& sinks, std::function<void(const std::string&)> failed,
        Clock clock = [] { return toolkit::wallClock(); });
    // One stream, with everything.
    TrafficLog(
        std::FILE* out, std::function<void(const std::string&)> failed,
        Clock clock = [] { return toolkit::wallClock(); });

    // Streams from now on (a log file reopened): those already there stay
    // open, the program closes those it opened.
    void setSinks(const std::vector<Sink>& sinks);
    // A service of one device: its lines name the device, not a port number,
    // and advise as a service's journal should.
    void setService(bool service) { oneDevice_ = service; }
    // What goes on without the log when it cannot be written: "the panel".
    void setProgram(std::string program) { program_ = std::move(program); }

    // The first line: the program, its version and the devices of COM1 and
    // COM2 (or, of one device, the device). False when it could not be
    // written.
    bool started(const std::string& program, const std::string& com1, const std::string& com2);
    void warningShown(const std::string& text);
    // A line of a program's own, as it stands.
    void note(const std::string& text) { write(Level::Event, text); }
    void detail(const std::string& text) { write(Level::Detail, text); }

    void lineSent(const std::string& line, const std::string& trace) override;
    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;
    void received(const std::string& chunk, const std::string& bufferTrace) override;
    void statusDecoded(const std::string& text) override;
    void noReply() override;
    void portEvent(const projector::PortEvent& event) override;

  private:
    struct Stream {
        Sink sink;
        bool writing = true;
    };
    bool write(Level level, const std::string& what);
    std::string port(const projector::PortEvent& event) const;
    std::string fault(toolkit::Fault fault) const;

    std::vector<Stream> streams_;
    std::function<void(const std::string&)> failed_;
    Clock clock_;
    bool oneDevice_ = false;
    std::string program_ = "the panel";
    bool reconnecting_ = false;  // lost: the next open is the reconnect's
};

}  // namespace trafficlog
