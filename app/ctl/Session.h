#pragma once
// kr60p-ctl's run: port 1 opened through the link, then each command asked
// of the exchange queue in turn; a reply belongs to the command it answers,
// whole, or it is not an answer.

#include <cstddef>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "app/ctl/Report.h"
#include "app/ctl/Script.h"
#include "link/ExchangeQueue.h"
#include "link/LinkListener.h"
#include "link/Port.h"

namespace ctl {

// However its bytes trickle in, a reply is given up after this long.
inline constexpr int kLongestReplyMs = 10'000;

class Session : public projector::LinkListener {
  public:
    // numbered: the device is what COM1 stands for, and messages say so;
    // a device given with -d is named alone.
    Session(projector::Port& port, projector::ExchangeQueue& queue, const Script& script,
            const Report& report, int timeoutMs, bool numbered);

    // Ends the run at once, saying why and what was left undone.
    void interrupt(const std::string& why);

    void portEvent(const projector::PortEvent& event) override;

  private:
    // One line to send: a command, or one of the queries "status" asks.
    struct Exchange {
        std::string command;
        std::string code;
        projector::Expect expect;
        int group;  // the "status" it belongs to, or -1
    };

    void answered(std::size_t index, const projector::Answer& answer);
    void end(int status);
    toolkit::Fault told(toolkit::Fault fault) const;

    projector::Port& port_;
    projector::ExchangeQueue& queue_;
    const Report& report_;
    int timeoutMs_;
    bool numbered_;
    std::vector<Exchange> exchanges_;
    std::size_t next_ = 0;  // the first exchange not yet answered
    std::vector<Outcome> group_;
    std::string device_;
    int status_ = 0;
    bool ended_ = false;
};

}  // namespace ctl
