#pragma once
// kr60p-ctl's run: port 1 opened through the link as the window opens it,
// then each command sent in turn, each waiting for its reply (complete at an
// ACK or a line's CR, else whatever came by the time-out) before the next.

#include <QTimer>
#include <cstddef>
#include <string>
#include <vector>

#include "app/ctl/Report.h"
#include "app/ctl/Script.h"
#include "link/Link.h"
#include "link/LinkListener.h"

namespace ctl {

inline constexpr int kExitNoReply = 1;
inline constexpr int kExitDevice = 3;
inline constexpr int kExitInterrupted = 130;

class Session : public projector::LinkListener {
  public:
    // numbered: the device is what COM1 stands for, and messages say so;
    // a device given with -d is named alone.
    Session(projector::Link& link, const Script& script, const Report& report, int timeoutMs,
            bool numbered);

    // Ends the run at once, saying why and what was left undone.
    void interrupt(const std::string& why);

    void portEvent(const projector::PortEvent& event) override;
    void received(const std::string& chunk, const std::string& bufferTrace) override;
    void statusDecoded(const std::string& text) override;
    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;

  private:
    // One line to send: a command, or one of the queries "status" asks.
    struct Exchange {
        std::string command;
        std::string code;
        bool query;
        int group;  // the "status" it belongs to, or -1
    };

    void sendNext();
    void replied(bool timedOut);
    void end(int status);
    toolkit::Fault told(toolkit::Fault fault) const;

    projector::Link& link_;
    const Report& report_;
    int timeoutMs_;
    bool numbered_;
    std::vector<Exchange> exchanges_;
    std::size_t next_ = 0;
    bool waiting_ = false;
    Outcome outcome_;
    std::vector<Outcome> group_;
    std::string device_;
    int status_ = 0;
    bool ended_ = false;
    QTimer timeout_;
};

}  // namespace ctl
