#pragma once
// The traffic log (--log FILE): a line for every event of the run, each with
// a local timestamp to the millisecond, written and flushed as it happens so
// that nothing is lost when the program is killed and nothing is held in
// memory. It listens to the link like the window does.

#include <cstdio>
#include <functional>
#include <string>

#include "link/LinkListener.h"
#include "toolkit/WallClock.h"

namespace trafficlog {

// The stream for --log: "-" is standard error, anything else a file opened
// for appending. Throws std::runtime_error naming the path and the reason.
std::FILE* openLog(const std::string& path);

class TrafficLog : public projector::LinkListener {
  public:
    using Clock = std::function<std::string()>;
    // failed: told once, in words, when a write fails; the log then stops
    // and the program goes on without it.
    TrafficLog(
        std::FILE* out, std::function<void(const std::string&)> failed,
        Clock clock = [] { return toolkit::wallClock(); });

    // The first line: the program, its version and the devices of COM1 and
    // COM2. False when it could not be written.
    bool started(const std::string& program, const std::string& com1, const std::string& com2);
    void warningShown(const std::string& text);
    // A line of a program's own, as it stands.
    void note(const std::string& text);

    void lineSent(const std::string& line, const std::string& trace) override;
    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;
    void received(const std::string& chunk, const std::string& bufferTrace) override;
    void statusDecoded(const std::string& text) override;
    void noReply() override;
    void portEvent(const projector::PortEvent& event) override;

  private:
    bool write(const std::string& what);

    std::FILE* out_;
    std::function<void(const std::string&)> failed_;
    Clock clock_;
    bool writing_ = true;
};

}  // namespace trafficlog
