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

ExchangeQueue::ExchangeQueue(Link& link, toolkit::Timer& silence, toolkit::Timer& overall,
                             toolkit::Timer& quiet, ExchangeTiming timing)
    : link_(link),
      silenceMs_(timing.silenceMs),
      silence_(silence),
      overall_(overall),
      quiet_(quiet) {
    silence_.setInterval(timing.silenceMs);
    overall_.setInterval(timing.overallMs);
    quiet_.setInterval(timing.quietMs);
    silence_.onTimer([this] { timedOut(); });
    overall_.onTimer([this] { timedOut(); });
    quiet_.onTimer([this] {
        quiet_.setEnabled(false);
        sendNext();
    });
}

void ExchangeQueue::ask(std::string code, Expect expect, Done done) {
    if (away_) {
        done(notSent(std::move(code), *away_));
        return;
    }
    waiting_.push_back({std::move(code), expect, std::move(done)});
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
    if (!ready_ || current_ || waiting_.empty() || quiet_.enabled()) return;
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
    reply_.clear();
    sendFault_.reset();
    // Each exchange starts afresh, so that the link's own reading of its
    // buffer (the traffic log's STATUS) is of this reply alone.
    link_.dropPendingReply();
    if (!link_.send(current_->code)) {
        finish(Answer::Outcome::NotSent);  // sendFailed said why
        return;
    }
    // A picture mode or a signal type takes the projector longer.
    silence_.setInterval(std::max(silenceMs_, replyMsOf(current_->code)));
    silence_.setEnabled(true);
    overall_.setEnabled(true);
}

void ExchangeQueue::received(const std::string& chunk, const std::string& /*bufferTrace*/) {
    if (!current_) {
        // A late reply, or a flood: the next command waits until it is over.
        if (quiet_.enabled()) restart(quiet_);
        if (unasked_) unasked_(chunk);
        return;
    }
    if (reply_.size() < kReplyLimit) reply_.append(chunk, 0, kReplyLimit - reply_.size());
    restart(silence_);
    if (complete(reply_)) {
        std::optional<std::string> decoded;
        std::optional<Reading> reading;
        const Answer::Outcome outcome = judge(*current_, decoded, reading);
        finish(outcome, std::move(decoded), std::move(reading));
    }
}

void ExchangeQueue::sendFailed(const std::string& /*line*/, const toolkit::Fault& fault) {
    sendFault_ = fault;
}

// A complete reply: of the kind the command expects, and read by the
// decoder where the command is a query.
Answer::Outcome ExchangeQueue::judge(const Request& request, std::optional<std::string>& decoded,
                                     std::optional<Reading>& reading) {
    const bool ack = reply_.find(kAck) != std::string::npos;
    const bool line = reply_.find('\r') != std::string::npos;
    if (request.expect == Expect::Ack) {
        return ack ? Answer::Outcome::Answered : Answer::Outcome::Unexpected;
    }
    if (request.expect == Expect::Line && !line) return Answer::Outcome::Unexpected;
    if (!isQuery(request.code)) return Answer::Outcome::Answered;
    std::int16_t pressure = pressureValue_;
    decoded = decodeReply(request.code + "\r", "", traceOf(reply_), pressure);
    reading = readReply(request.code, reply_, pressureValue_);
    if (!decoded || !reading) {
        decoded.reset();
        reading.reset();
        return Answer::Outcome::Undecoded;
    }
    return Answer::Outcome::Answered;
}

void ExchangeQueue::finish(Answer::Outcome outcome, std::optional<std::string> decoded,
                           std::optional<Reading> reading) {
    silence_.setEnabled(false);
    overall_.setEnabled(false);
    if (!current_) return;
    Request request = std::move(*current_);
    current_.reset();
    Answer answer{request.code,       outcome, std::exchange(reply_, {}), std::move(decoded),
                  std::move(reading), {}};
    if (sendFault_) answer.fault = *sendFault_;
    // Whatever is still on its way belongs to no one.
    if (outcome == Answer::Outcome::NoReply || outcome == Answer::Outcome::Cut) {
        quiet_.setEnabled(true);
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
