#pragma once
// Exchanges for programs: a command line sent, and its whole reply given back
// to whoever asked, one exchange on the wire at a time, requests from any
// number of callers taken in order. A reply belongs to the command it
// answers or to none: what arrives after a command's time-out is dropped,
// and the next command waits for the line to fall quiet.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "link/Link.h"
#include "link/LinkListener.h"
#include "toolkit/Controls.h"
#include "toolkit/Fault.h"
#include "vocabulary/Decoder.h"

namespace projector {

// What a command's reply is to look like.
enum class Expect {
    Ack,     // an action: the projector acknowledges it
    Line,    // a query: a line ended by CR, which the decoder reads
    Either,  // a typed code of unknown kind: an ACK or a line
};

struct Answer {
    enum class Outcome {
        Answered,    // complete, of the kind expected, and read where a query's
        NoReply,     // nothing came within the time-out
        Cut,         // something came, but not the end of a reply
        Undecoded,   // a query's line that the decoder cannot read
        Unexpected,  // an ACK where a line was expected, or the other way round
        NotSent,     // the line could not be sent (fault says why)
        Lost,        // the device went away before the reply (fault says how)
    };
    std::string code;
    Outcome outcome = Outcome::NoReply;
    std::string reply;                   // the bytes that came back, as they are
    std::optional<std::string> decoded;  // a query's words, where the decoder read them
    std::optional<Reading> reading;      // and what they say, for a program
    toolkit::Fault fault;                // NotSent, Lost: why
    bool answered() const { return outcome == Outcome::Answered; }
};

struct ExchangeTiming {
    int silenceMs = 500;    // a reply is given up after this long without a byte
    int overallMs = 10000;  // and, however its bytes trickle in, after this long
    int quietMs = 500;      // after a time-out, the line is this long silent before the next
};

class ExchangeQueue : public LinkListener {
  public:
    using Done = std::function<void(const Answer&)>;

    // silence, overall and quiet are the three countdowns of ExchangeTiming.
    ExchangeQueue(Link& link, toolkit::Timer& silence, toolkit::Timer& overall,
                  toolkit::Timer& quiet, ExchangeTiming timing);

    // Queued; sent once the link is open and every exchange before it is
    // done. While the device is away (lost, or it failed to open), answered
    // at once as not sent.
    void ask(std::string code, Expect expect, Done done);
    // Bytes the projector sent while no exchange was on the wire: not an
    // answer to anyone, but a listener of the whole line may want them.
    void onUnasked(std::function<void(const std::string&)> heard) { unasked_ = std::move(heard); }
    // Nothing queued and nothing on the wire.
    bool idle() const { return !current_ && waiting_.empty(); }

    void portEvent(const PortEvent& event) override;
    void received(const std::string& chunk, const std::string& bufferTrace) override;
    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;

  private:
    struct Request {
        std::string code;
        Expect expect;
        Done done;
    };

    void sendNext();
    void timedOut();
    void finish(Answer::Outcome outcome, std::optional<std::string> decoded = {},
                std::optional<Reading> reading = {});
    // Every request still waiting fails at once: the device is away.
    void failAll(const toolkit::Fault& fault);
    Answer::Outcome judge(const Request& request, std::optional<std::string>& decoded,
                          std::optional<Reading>& reading);

    Link& link_;
    int silenceMs_;
    toolkit::Timer& silence_;
    toolkit::Timer& overall_;
    toolkit::Timer& quiet_;
    bool ready_ = false;                  // the port is open
    std::optional<toolkit::Fault> away_;  // why the device is not there
    std::deque<Request> waiting_;
    std::optional<Request> current_;
    std::string reply_;
    std::optional<toolkit::Fault> sendFault_;
    std::int16_t pressureValue_ = 0;
    std::function<void(const std::string&)> unasked_;
};

}  // namespace projector
