#include "link/SharedLine.h"

#include <utility>

#include "vocabulary/Decoder.h"

namespace projector {

SharedLine::SharedLine(ExchangeQueue& queue, Now now, int freshMs)
    : queue_(queue), now_(std::move(now)), freshMs_(freshMs) {}

void SharedLine::query(const std::string& code, ExchangeQueue::Done done) {
    if (const auto kept = kept_.find(code); kept != kept_.end()) {
        if (kept->second.era == era_ && now_() - kept->second.at < freshMs_) {
            done(kept->second.answer);
            return;
        }
    }
    const std::uint64_t era = era_;
    auto [asked, first] = asked_.try_emplace({code, era});
    asked->second.push_back(std::move(done));
    if (!first) return;  // on its way already: its answer is everyone's
    ++exchanges_;
    queue_.ask(code, Expect::Line,
               [this, code, era](const Answer& answer) { answered(code, era, answer); });
}

void SharedLine::exchange(const std::string& code, Expect expect, ExchangeQueue::Done done) {
    if (!isQuery(code)) forget();
    ++exchanges_;
    queue_.ask(code, expect,
               [this, code, era = era_, done = std::move(done)](const Answer& answer) {
                   keep(code, era, answer);
                   done(answer);
               });
}

void SharedLine::answered(const std::string& code, std::uint64_t era, const Answer& answer) {
    const auto asked = asked_.find({code, era});
    if (asked == asked_.end()) return;
    std::vector<ExchangeQueue::Done> waiting = std::move(asked->second);
    asked_.erase(asked);
    keep(code, era, answer);
    for (const ExchangeQueue::Done& done : waiting) done(answer);
}

void SharedLine::portEvent(const PortEvent& event) {
    using Kind = PortEvent::Kind;
    switch (event.kind) {
        case Kind::Started:
        case Kind::StartFailed:
        case Kind::Switched:
        case Kind::SwitchFailed:
        case Kind::Lost:
        case Kind::Reconnected:
        case Kind::Ended:
            forget();
            break;
        default:
            break;
    }
}

void SharedLine::forget() {
    ++era_;
    kept_.clear();
}

// An answer given after a command was asked may tell of the time before it,
// and is not kept; everyone who watches the line hears it all the same.
void SharedLine::keep(const std::string& code, std::uint64_t era, const Answer& answer) {
    if (isQuery(code) && answer.answered() && era == era_) kept_[code] = {answer, now_(), era};
    for (const auto& heard : heard_) heard(answer);
}

}  // namespace projector
