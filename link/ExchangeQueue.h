#pragma once
// Exchanges for programs: a command line sent, and its whole reply given back
// to whoever asked, one exchange on the wire at a time, requests from any
// number of callers taken in order. A reply belongs to the command it
// answers or to none: what arrives after a command's time-out is dropped,
// and the next command waits for the line to fall quiet. Each reply is
// decoded once, as the exchange it belongs to, and the port's listeners
// (a traffic log) hear it with its words.

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "link/LinkListener.h"
#include "link/Port.h"
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
        Undecoded,   // a query's line the decoder cannot read, or that holds no number
                     // where it reads one
        Unexpected,  // an ACK where a line was expected, or the other way round
        NotSent,     // the line could not be sent (fault says why)
        Lost,        // the device went away before the reply (fault says how)
        Silent,      // not sent: the projector has not been answering (a shared line's)
    };
    std::string code;
    Outcome outcome = Outcome::NoReply;
    std::string reply;  // the bytes that came back, as they are
    // A query's words wherever the window would show words, and what the
    // decoder read in them for a program: of an answer, or of a line that
    // held no number where it reads one (that number nothing).
    std::optional<std::string> decoded;
    std::optional<Reading> reading;
    toolkit::Fault fault;  // NotSent, Lost: why
    bool answered() const { return outcome == Outcome::Answered; }
};

struct ExchangeTiming {
    int silenceMs = 500;    // a reply is given up after this long without a byte
    int overallMs = 10000;  // and, however its bytes trickle in, after this long
    int quietMs = 500;      // after a time-out, the line is this long silent before the next
};

// The queue's own countdowns, one for each of ExchangeTiming's times.
struct ExchangeTimers {
    toolkit::Timer& silence;
    toolkit::Timer& overall;
    toolkit::Timer& quiet;
};

// Where a request stands, and how long its reply may take.
struct Turn {
    // Ahead of every request still waiting: a line whose asker's own clock
    // runs from its sending (a share client's) waits for the exchange on
    // the wire at most.
    bool first = false;
    // The silence its reply may keep at least; the command's own reply time
    // and the queue's silence count too.
    int replyMs = 0;
};

class ExchangeQueue : public PortReader {
  public:
    using Done = std::function<void(const Answer&)>;

    // The queue reads the port from now on.
    ExchangeQueue(Port& port, ExchangeTimers timers, ExchangeTiming timing);

    // Queued; sent once the port is open and every exchange before it is
    // done. While the device is away (lost, or it failed to open), answered
    // at once as not sent.
    void ask(std::string code, Expect expect, Done done, Turn turn = {});
    // Bytes the projector sent while no exchange was on the wire and none
    // had just timed out: not an answer to anyone, but a listener of the
    // whole line may want them.
    void onUnasked(std::function<void(const std::string&)> heard) { unasked_ = std::move(heard); }
    // Nothing queued and nothing on the wire.
    bool idle() const { return !current_ && waiting_.empty(); }

    void bytesIn(const std::string& chunk) override;
    void portEvent(const PortEvent& event) override;

  private:
    struct Request {
        std::string code;
        Expect expect;
        Done done;
        Turn turn;
    };

    void sendNext();
    void timedOut();
    void finish(Answer::Outcome outcome, Decoded decoded = {});
    // Every request still waiting fails at once: the device is away.
    void failAll(const toolkit::Fault& fault);
    Answer::Outcome judge(const Request& request, Decoded& decoded) const;

    Port& port_;
    int silenceMs_;
    int overallMs_;
    ExchangeTimers timers_;
    bool ready_ = false;                  // the port is open
    std::optional<toolkit::Fault> away_;  // why the device is not there
    std::deque<Request> waiting_;
    std::optional<Request> current_;
    std::string reply_;
    std::optional<toolkit::Fault> sendFault_;
    std::function<void(const std::string&)> unasked_;
};

}  // namespace projector
