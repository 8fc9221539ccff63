#include "link/ExchangeQueue.h"

#include <algorithm>
#include <utility>

#include "vocabulary/Commands.h"
#include "vocabulary/Trace.h"

namespace projector {

namespace {

constexpr char kAck = '\x06';
// Beyond this, what arrives for one reply is not kept: a flood costs nothing.
constexpr std::size_t kReplyLimit = 4096;

bool complete(const std::string& reply) {
    return reply.find(kAck) != std::string::npos || reply.find('\r') != std::string::npos;
}

Answer notSent(std::string code, const toolkit::Fault& fault) {
    return {std::move(code), Answer::Outcome::NotSent, {}, std::nullopt, std::nullopt, fault};
}

void restart(toolkit::Timer& timer) {
    timer.setEnabled(false);
    timer.setEnabled(true);
}

}  // namespace

ExchangeQueue::ExchangeQueue(Port& port, ExchangeTimers timers, ExchangeTiming timing)
    : port_(port), silenceMs_(timing.silenceMs), overallMs_(timing.overallMs), timers_(timers) {
    port_.setReader(*this);
    timers_.silence.setInterval(timing.silenceMs);
    timers_.overall.setInterval(timing.overallMs);
    timers_.quiet.setInterval(timing.quietMs);
    timers_.silence.onTimer([this] { timedOut(); });
    timers_.overall.onTimer([this] { timedOut(); });
    timers_.quiet.onTimer([this] {
        timers_.quiet.setEnabled(false);
        sendNext();
    });
}

void ExchangeQueue::ask(std::string code, Expect expect, Done done, Turn turn) {
    if (away_) {
        done(notSent(std::move(code), *away_));
        return;
    }
    Request request{std::move(code), expect, std::move(done), turn};
    if (turn.first) {
        const auto behind = std::find_if(waiting_.begin(), waiting_.end(),
                                         [](const Request& each) { return !each.turn.first; });
        waiting_.insert(behind, std::move(request));
    } else {
        waiting_.push_back(std::move(request));
    }
    sendNext();
}

void ExchangeQueue::portEvent(const PortEvent& event) {
    using Kind = PortEvent::Kind;
    switch (event.kind) {
        case Kind::Started:
        case Kind::Switched:
        case Kind::Reconnected:
            ready_ = true;
            away_.reset();
            sendNext();
            break;
        case Kind::Lost:
        case Kind::StartFailed:
        case Kind::SwitchFailed:
            ready_ = false;
            away_ = event.fault;
            failAll(event.fault);
            break;
        case Kind::Ended: {
            ready_ = false;
            away_ = toolkit::faultOf(toolkit::Fault::Kind::Closed, event.device);
            away_->number = event.number;
            failAll(*away_);
            break;
        }
        default:
            break;
    }
}

void ExchangeQueue::sendNext() {
    if (!ready_ || current_ || waiting_.empty() || timers_.quiet.enabled()) return;
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
    reply_.clear();
    sendFault_.reset();
    if (const auto fault = port_.write(current_->code + '\r')) {
        // A loss found by the line has failed the exchange already.
        if (!current_) return;
        sendFault_ = *fault;
        finish(Answer::Outcome::NotSent);
        return;
    }
    // A picture mode or a signal type takes the projector longer.
    const int replyMs = std::max({silenceMs_, replyMsOf(current_->code), current_->turn.replyMs});
    timers_.silence.setInterval(replyMs);
    timers_.overall.setInterval(std::max(overallMs_, replyMs));
    timers_.silence.setEnabled(true);
    timers_.overall.setEnabled(true);
}

void ExchangeQueue::bytesIn(const std::string& chunk) {
    if (!current_) {
        port_.listeners().tell(
            [&](LinkListener& listener) { listener.received(chunk, traceOf(chunk)); });
        // The rest of a reply that came too late belongs to no one, and the
        // next command waits until it is over; anything else is news.
        if (timers_.quiet.enabled()) {
            restart(timers_.quiet);
        } else if (unasked_) {
            unasked_(chunk);
        }
        return;
    }
    if (reply_.size() < kReplyLimit) reply_.append(chunk, 0, kReplyLimit - reply_.size());
    port_.listeners().tell(
        [&](LinkListener& listener) { listener.received(chunk, traceOf(reply_)); });
    restart(timers_.silence);
    if (complete(reply_)) {
        Decoded decoded;
        const Answer::Outcome outcome = judge(*current_, decoded);
        finish(outcome, std::move(decoded));
    }
}

// A complete reply: of the kind the command expects, and read by the
// decoder where the command is a query.
Answer::Outcome ExchangeQueue::judge(const Request& request, Decoded& decoded) const {
    const bool ack = reply_.find(kAck) != std::string::npos;
    const bool line = reply_.find('\r') != std::string::npos;
    if (request.expect == Expect::Ack) {
        return ack ? Answer::Outcome::Answered : Answer::Outcome::Unexpected;
    }
    if (request.expect == Expect::Line && !line) return Answer::Outcome::Unexpected;
    if (!isQuery(request.code)) return Answer::Outcome::Answered;
    // The words go with the answer wherever the window would show them; it
    // is an answer only when every number it gives is one.
    decoded = decodeAnswer(request.code, reply_);
    const auto& numbers =
        decoded.reading ? decoded.reading->numbers : std::vector<std::optional<double>>{};
    const bool read = decoded.words && decoded.reading &&
                      std::all_of(numbers.begin(), numbers.end(),
                                  [](const std::optional<double>& value) { return value; });
    return read ? Answer::Outcome::Answered : Answer::Outcome::Undecoded;
}

void ExchangeQueue::finish(Answer::Outcome outcome, Decoded decoded) {
    timers_.silence.setEnabled(false);
    timers_.overall.setEnabled(false);
    if (!current_) return;
    Request request = std::move(*current_);
    current_.reset();
    Answer answer{request.code,
                  outcome,
                  std::exchange(reply_, {}),
                  std::move(decoded.words),
                  std::move(decoded.reading),
                  {}};
    if (sendFault_) answer.fault = *sendFault_;
    if (answer.decoded) {
        port_.listeners().tell(
            [&](LinkListener& listener) { listener.statusDecoded(*answer.decoded); });
    }
    if (outcome == Answer::Outcome::NoReply) {
        port_.listeners().tell([](LinkListener& listener) { listener.noReply(); });
    }
    // Whatever is still on its way belongs to no one.
    if (outcome == Answer::Outcome::NoReply || outcome == Answer::Outcome::Cut) {
        timers_.quiet.setEnabled(true);
    }
    request.done(answer);
    sendNext();
}

void ExchangeQueue::timedOut() {
    finish(reply_.empty() ? Answer::Outcome::NoReply : Answer::Outcome::Cut);
}

void ExchangeQueue::failAll(const toolkit::Fault& fault) {
    if (current_) {
        sendFault_ = fault;
        finish(Answer::Outcome::Lost);
    }
    while (!waiting_.empty()) {
        Request request = std::move(waiting_.front());
        waiting_.pop_front();
        request.done(notSent(request.code, fault));
    }
}

}  // namespace projector
