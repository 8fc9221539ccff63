#include "app/ctl/Session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <cstdio>

#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"
#include "vocabulary/Sentences.h"
#include "vocabulary/Trace.h"

namespace ctl {

namespace {

using Kind = projector::PortEvent::Kind;
using Result = projector::Answer::Outcome;

void say(const std::string& text) {
    std::fprintf(stderr, "kr60p-ctl: %s\n", text.c_str());
    std::fflush(stderr);
}

std::string traced(const std::string& reply) {
    return "\"" + projector::shown(projector::traceOf(reply)) + "\"";
}

}  // namespace

Session::Session(projector::Port& port, projector::ExchangeQueue& queue, const Script& script,
                 const Report& report, int timeoutMs, bool numbered)
    : port_(port), queue_(queue), report_(report), timeoutMs_(timeoutMs), numbered_(numbered) {
    int group = 0;
    for (const Step& step : script.steps) {
        if (step.name != "status") {
            exchanges_.push_back({step.name, step.code, step.expect, -1});
            continue;
        }
        // Every query of the window's buttons, in the catalogue's order.
        for (const projector::Command& command : projector::commandCatalogue()) {
            if (projector::isQuery(command.code) && !command.typed) {
                exchanges_.push_back({std::string(command.name), std::string(command.code),
                                      projector::Expect::Line, group});
            }
        }
        ++group;
    }
}

void Session::portEvent(const projector::PortEvent& event) {
    if (ended_) return;
    switch (event.kind) {
        case Kind::Started:
            device_ = event.device;
            for (std::size_t i = 0; i < exchanges_.size(); ++i) {
                queue_.ask(exchanges_[i].code, exchanges_[i].expect,
                           [this, i](const projector::Answer& answer) { answered(i, answer); });
            }
            if (exchanges_.empty()) end(0);
            break;
        case Kind::StartFailed:
        case Kind::Lost:
            say(projector::faultText(told(event.fault)));
            end(app::kExitDevice);
            break;
        case Kind::Notice:
            say(projector::faultText(told(event.fault)));
            break;
        default:
            break;
    }
}

void Session::answered(std::size_t index, const projector::Answer& answer) {
    if (ended_ || index != next_) return;
    ++next_;
    const Exchange& exchange = exchanges_[index];
    const std::string code = projector::shown(exchange.code);
    const std::string from = " from " + projector::shown(device_);
    switch (answer.outcome) {
        case Result::Answered:
            break;
        case Result::NotSent:
        case Result::Lost:
            say(answer.outcome == Result::NotSent ? projector::notSentText(told(answer.fault))
                                                  : projector::faultText(told(answer.fault)));
            end(app::kExitDevice);
            return;
        case Result::NoReply:
        case Result::Silent:
            say("no reply to " + code + from + " within " + std::to_string(timeoutMs_) + " ms");
            break;
        case Result::Cut:
            say("the reply to " + code + from + " was cut short: " + traced(answer.reply) +
                " came, then nothing for " + std::to_string(timeoutMs_) + " ms");
            break;
        case Result::Undecoded:
            say("the reply to " + code + from + " cannot be read: " + traced(answer.reply));
            break;
        case Result::Unexpected:
            say("the reply to " + code + from +
                " is not of the kind expected: " + traced(answer.reply) +
                (exchange.expect == projector::Expect::Ack ? ", where an ACK was due"
                                                           : ", where a line was due"));
            break;
    }
    if (!answer.answered()) status_ = app::kExitNoAnswer;
    const Outcome outcome{exchange.command,
                          exchange.code,
                          answer.reply,
                          answer.answered(),
                          exchange.expect == projector::Expect::Line,
                          answer.decoded,
                          QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toStdString(),
                          answer.reading};
    if (exchange.group < 0) {
        report_.command(outcome);
    } else {
        group_.push_back(outcome);
        const bool last = next_ == exchanges_.size() || exchanges_[next_].group != exchange.group;
        if (last) report_.status(std::exchange(group_, {}));
    }
    if (next_ == exchanges_.size()) end(status_);
}

toolkit::Fault Session::told(toolkit::Fault fault) const {
    if (!numbered_) fault.number = 0;
    return fault;
}

void Session::interrupt(const std::string& why) {
    if (ended_) return;
    if (!queue_.idle() && next_ < exchanges_.size()) {
        say(why + ": " + projector::shown(exchanges_[next_].code) +
            " was sent; its reply was not awaited, and nothing more was sent.");
    } else {
        say(why + ": nothing more was sent.");
    }
    end(app::kExitInterrupted);
}

// Closes the port and ends the event loop, from the loop: the start-up may
// fail before the loop runs.
void Session::end(int status) {
    if (ended_) return;
    ended_ = true;
    port_.shutDown(status == 0 ? "all commands done" : "exit status " + std::to_string(status));
    QTimer::singleShot(0, qApp, [status] { QCoreApplication::exit(status); });
}

}  // namespace ctl
