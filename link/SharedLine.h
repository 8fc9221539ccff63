#pragma once
// One projector line shared by many askers: the same query asked by several
// at once goes out once, and a query answered a moment ago with no command
// sent since is answered again from that answer, so that a dozen pollers
// cost the line what one does. Everything else is an exchange of its own.
// A projector that leaves several exchanges in a row unanswered is "not
// answering": what needs it is refused at once, and one probe every few
// seconds looks for it to answer again.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/ExchangeQueue.h"
#include "link/LinkListener.h"
#include "toolkit/Controls.h"

namespace projector {

// Exchanges in a row without a byte in reply, after which the projector is
// not answering; and how often it is asked again then.
inline constexpr int kSilentAfter = 3;
inline constexpr int kProbeMs = 5000;

class SharedLine : public LinkListener {
  public:
    using Now = std::function<std::int64_t()>;  // milliseconds, on any steady clock

    // freshMs: how long an answer stands for its query; probe: the
    // countdown of the probes while the projector is not answering.
    SharedLine(ExchangeQueue& queue, Now now, toolkit::Timer& probe, int freshMs = 1000);

    // A query the decoder reads: shared, or answered from a fresh answer.
    void query(const std::string& code, ExchangeQueue::Done done);
    // A line of its own on the wire, in turn. Anything but a query may change
    // what the projector would answer, so no answer from before it is reused.
    void exchange(const std::string& code, Expect expect, ExchangeQueue::Done done);
    // A raw client's line, as a serial port would pass it: sent even while
    // the projector is not answering, ahead of what waits (its client's own
    // clock runs from its sending), and waited for a second longer than the
    // command's own reply time.
    void relay(const std::string& code, ExchangeQueue::Done done);

    // Told of every exchange's answer, whoever asked it: what one front end
    // learns of the projector from the others' traffic.
    void onAnswer(std::function<void(const Answer&)> heard) { heard_.push_back(std::move(heard)); }
    // Told when the projector stops answering (true), and when it answers
    // again (false).
    void onSilence(std::function<void(bool silent)> heard) { silence_.push_back(std::move(heard)); }
    bool silent() const { return silent_; }

    // How many exchanges reached the queue, and how many queries were
    // answered from an answer of the last second instead.
    std::uint64_t exchanges() const { return exchanges_; }
    std::uint64_t fromCache() const { return fromCache_; }

    // What a device said before it went away, or before it came back, no
    // longer stands.
    void portEvent(const PortEvent& event) override;

  private:
    struct Kept {
        Answer answer;
        std::int64_t at;
        std::uint64_t era;
    };

    void ask(const std::string& code, Expect expect, ExchangeQueue::Done done, Turn turn);
    void answered(const std::string& code, std::uint64_t era, const Answer& answer);
    void keep(const std::string& code, std::uint64_t era, const Answer& answer);
    void forget();
    // Whether a reply came: the projector's silence counted, or ended.
    void count(const Answer& answer);
    void setSilent(bool silent);
    void probe();

    ExchangeQueue& queue_;
    Now now_;
    toolkit::Timer& probe_;
    int freshMs_;
    // Counts the commands asked (and the device's comings and goings): an answer to a query asked
    // before the last of them may tell of the time before it, and is neither shared nor kept.
    std::uint64_t era_ = 0;
    std::uint64_t exchanges_ = 0;
    std::uint64_t fromCache_ = 0;
    int unanswered_ = 0;  // exchanges in a row that got no byte
    bool silent_ = false;
    // Those waiting for a query on its way, by its code and era.
    std::map<std::pair<std::string, std::uint64_t>, std::vector<ExchangeQueue::Done>> asked_;
    std::map<std::string, Kept> kept_;
    std::vector<std::function<void(const Answer&)>> heard_;
    std::vector<std::function<void(bool)>> silence_;
};

}  // namespace projector
