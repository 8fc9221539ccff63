#include "link/SharedLine.h"

#include <utility>

#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"

namespace projector {

namespace {

// Answered at once while the projector is not answering.
Answer silentAnswer(const std::string& code) {
    Answer answer;
    answer.code = code;
    answer.outcome = Answer::Outcome::Silent;
    return answer;
}

// How much longer than its command's own reply time a relayed line is
// waited for: the share's client counts its own time-out from its sending.
constexpr int kRelayMarginMs = 1000;

}  // namespace

SharedLine::SharedLine(ExchangeQueue& queue, Now now, toolkit::Timer& probe, int freshMs)
    : queue_(queue), now_(std::move(now)), probe_(probe), freshMs_(freshMs) {
    probe_.setInterval(kProbeMs);
    probe_.onTimer([this] { this->probe(); });
}

void SharedLine::query(const std::string& code, ExchangeQueue::Done done) {
    if (const auto kept = kept_.find(code); kept != kept_.end()) {
        if (kept->second.era == era_ && now_() - kept->second.at < freshMs_) {
            ++fromCache_;
            done(kept->second.answer);
            return;
        }
    }
    if (silent_) return done(silentAnswer(code));
    const std::uint64_t era = era_;
    auto [asked, first] = asked_.try_emplace({code, era});
    asked->second.push_back(std::move(done));
    if (!first) return;  // on its way already: its answer is everyone's
    ++exchanges_;
    queue_.ask(code, Expect::Line,
               [this, code, era](const Answer& answer) { answered(code, era, answer); });
}

void SharedLine::exchange(const std::string& code, Expect expect, ExchangeQueue::Done done) {
    if (silent_) return done(silentAnswer(code));
    ask(code, expect, std::move(done), {});
}

void SharedLine::relay(const std::string& code, ExchangeQueue::Done done) {
    ask(code, Expect::Either, std::move(done), {true, replyMsOf(code) + kRelayMarginMs});
}

void SharedLine::ask(const std::string& code, Expect expect, ExchangeQueue::Done done, Turn turn) {
    if (!isQuery(code)) forget();
    ++exchanges_;
    queue_.ask(
        code, expect,
        [this, code, era = era_, done = std::move(done)](const Answer& answer) {
            keep(code, era, answer);
            done(answer);
        },
        turn);
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
            // A device away or back is news of its own: the count of silence
            // starts again, and the probes wait for the projector's next
            // silence.
            unanswered_ = 0;
            silent_ = false;
            probe_.setEnabled(false);
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
    count(answer);
    if (isQuery(code) && answer.answered() && era == era_) kept_[code] = {answer, now_(), era};
    for (const auto& heard : heard_) heard(answer);
}

void SharedLine::count(const Answer& answer) {
    switch (answer.outcome) {
        case Answer::Outcome::NoReply:
            if (++unanswered_ >= kSilentAfter) setSilent(true);
            break;
        case Answer::Outcome::Answered:
        case Answer::Outcome::Cut:
        case Answer::Outcome::Undecoded:
        case Answer::Outcome::Unexpected:
            unanswered_ = 0;  // something came: the projector is there
            setSilent(false);
            break;
        case Answer::Outcome::NotSent:
        case Answer::Outcome::Lost:
        case Answer::Outcome::Silent:
            break;
    }
}

void SharedLine::setSilent(bool silent) {
    if (silent == silent_) return;
    silent_ = silent;
    probe_.setEnabled(silent);
    for (const auto& heard : silence_) heard(silent);
}

void SharedLine::probe() {
    ask(std::string(codeOf("power-state")), Expect::Line, [](const Answer&) {}, {});
}

}  // namespace projector
