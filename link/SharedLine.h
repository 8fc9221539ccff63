#pragma once
// One projector line shared by many askers: the same query asked by several
// at once goes out once, and a query answered a moment ago with no command
// sent since is answered again from that answer, so that a dozen pollers
// cost the line what one does. Everything else is an exchange of its own.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/ExchangeQueue.h"
#include "link/LinkListener.h"

namespace projector {

class SharedLine : public LinkListener {
  public:
    using Now = std::function<std::int64_t()>;  // milliseconds, on any steady clock

    // freshMs: how long an answer stands for its query.
    SharedLine(ExchangeQueue& queue, Now now, int freshMs = 1000);

    // A query the decoder reads: shared, or answered from a fresh answer.
    void query(const std::string& code, ExchangeQueue::Done done);
    // A line of its own on the wire, in turn. Anything but a query may change
    // what the projector would answer, so no answer from before it is reused.
    void exchange(const std::string& code, Expect expect, ExchangeQueue::Done done);

    // Told of every exchange's answer, whoever asked it: what one front end
    // learns of the projector from the others' traffic.
    void onAnswer(std::function<void(const Answer&)> heard) { heard_.push_back(std::move(heard)); }

    // How many exchanges reached the queue.
    std::uint64_t exchanges() const { return exchanges_; }

    // What a device said before it went away, or before it came back, no
    // longer stands.
    void portEvent(const PortEvent& event) override;

  private:
    struct Kept {
        Answer answer;
        std::int64_t at;
        std::uint64_t era;
    };

    void answered(const std::string& code, std::uint64_t era, const Answer& answer);
    void keep(const std::string& code, std::uint64_t era, const Answer& answer);
    void forget();

    ExchangeQueue& queue_;
    Now now_;
    int freshMs_;
    // Counts the commands asked (and the device's comings and goings): an answer to a query asked
    // before the last of them may tell of the time before it, and is neither shared nor kept.
    std::uint64_t era_ = 0;
    std::uint64_t exchanges_ = 0;
    // Those waiting for a query on its way, by its code and era.
    std::map<std::pair<std::string, std::uint64_t>, std::vector<ExchangeQueue::Done>> asked_;
    std::map<std::string, Kept> kept_;
    std::vector<std::function<void(const Answer&)>> heard_;
};

}  // namespace projector
