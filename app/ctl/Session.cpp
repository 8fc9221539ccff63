#include "app/ctl/Session.h"

#include <QCoreApplication>
#include <cstdio>

#include "link/Decoder.h"
#include "panel/CommandButtons.h"
#include "panel/Messages.h"

namespace ctl {

namespace {

using Kind = projector::PortEvent::Kind;

// Beyond this, what arrives while waiting is not kept: a flood costs nothing.
constexpr std::size_t kReplyLimit = 4096;

void say(const std::string& text) {
    std::fprintf(stderr, "kr60p-ctl: %s\n", text.c_str());
    std::fflush(stderr);
}

bool complete(const std::string& reply) {
    return reply.find('\x06') != std::string::npos || reply.find('\r') != std::string::npos;
}

}  // namespace

Session::Session(projector::Link& link, const Script& script, const Report& report, int timeoutMs,
                 bool numbered)
    : link_(link), report_(report), timeoutMs_(timeoutMs), numbered_(numbered) {
    int group = 0;
    for (const Step& step : script.steps) {
        if (step.name != "status") {
            exchanges_.push_back({step.name, step.code, step.query, -1});
            continue;
        }
        // The queries the window has a button for, in its table's order.
        for (const panel::CommandButton& row : panel::commandButtonTable()) {
            if (projector::isQuery(row.code)) {
                exchanges_.push_back({std::string(row.name), std::string(row.code), true, group});
            }
        }
        ++group;
    }
    timeout_.setSingleShot(true);
    QObject::connect(&timeout_, &QTimer::timeout, [this] { replied(true); });
}

void Session::portEvent(const projector::PortEvent& event) {
    if (ended_) return;
    switch (event.kind) {
        case Kind::Started:
            device_ = event.device;
            // From the event loop: the link is still telling its listeners.
            QTimer::singleShot(0, &timeout_, [this] { sendNext(); });
            break;
        case Kind::StartFailed:
        case Kind::Lost:
            say(panel::faultText(told(event.fault)));
            end(kExitDevice);
            break;
        case Kind::Notice:
            say(panel::faultText(told(event.fault)));
            break;
        default:
            break;
    }
}

void Session::sendNext() {
    if (ended_) return;
    if (next_ == exchanges_.size()) {
        end(status_);
        return;
    }
    const Exchange& exchange = exchanges_[next_];
    outcome_ = {exchange.command, exchange.code, {}, false, exchange.query, std::nullopt};
    // Each reply is read on its own, never behind the last one's.
    link_.dropPendingReply();
    link_.setPacing(timeoutMs_ + 1000, timeoutMs_ + 1000);
    waiting_ = true;
    if (!link_.send(exchange.code)) return;  // sendFailed said why
    timeout_.start(timeoutMs_);
}

void Session::received(const std::string& chunk, const std::string& /*bufferTrace*/) {
    if (!waiting_) return;
    if (outcome_.reply.size() < kReplyLimit) {
        outcome_.reply.append(chunk, 0, kReplyLimit - outcome_.reply.size());
    }
    outcome_.answered = true;
    if (complete(outcome_.reply)) {
        timeout_.stop();
        // The decoder speaks after the listeners have heard the chunk.
        QTimer::singleShot(0, &timeout_, [this] { replied(false); });
    }
}

void Session::statusDecoded(const std::string& text) {
    if (waiting_ && outcome_.query) outcome_.decoded = text;
}

void Session::replied(bool timedOut) {
    if (!waiting_ || ended_) return;
    waiting_ = false;
    if (timedOut && !outcome_.answered) {
        say("no reply to " + panel::shown(outcome_.code) + " from " + panel::shown(device_) +
            " within " + std::to_string(timeoutMs_) + " ms");
        status_ = kExitNoReply;
    }
    const Exchange& exchange = exchanges_[next_++];
    if (exchange.group < 0) {
        report_.command(outcome_);
    } else {
        group_.push_back(outcome_);
        const bool last = next_ == exchanges_.size() || exchanges_[next_].group != exchange.group;
        if (last) report_.status(std::exchange(group_, {}));
    }
    sendNext();
}

void Session::sendFailed(const std::string& /*line*/, const toolkit::Fault& fault) {
    say(panel::notSentText(told(fault)));
    end(kExitDevice);
}

toolkit::Fault Session::told(toolkit::Fault fault) const {
    if (!numbered_) fault.number = 0;
    return fault;
}

void Session::interrupt(const std::string& why) {
    if (ended_) return;
    if (waiting_) {
        say(why + ": " + panel::shown(outcome_.code) +
            " was sent; its reply was not awaited, and nothing more was sent.");
    } else {
        say(why + ": nothing more was sent.");
    }
    end(kExitInterrupted);
}

// Closes the port and ends the event loop, from the loop: the start-up may
// fail before the loop runs.
void Session::end(int status) {
    if (ended_) return;
    ended_ = true;
    timeout_.stop();
    link_.shutDown(status == 0 ? "all commands done" : "exit status " + std::to_string(status));
    QTimer::singleShot(0, qApp, [status] { QCoreApplication::exit(status); });
}

}  // namespace ctl
