#include "app/CommandRun.h"

#include "app/ReadingJson.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Sentences.h"
#include "vocabulary/Trace.h"
#include "vocabulary/WireBytes.h"
#include "web/CommandRules.h"
#include "web/Metrics.h"

namespace app {

namespace {

using Outcome = projector::Answer::Outcome;
using Verdict = CommandResult::Verdict;

// The window's entry takes no more.
constexpr std::size_t kLongestCode = 32767;

CommandResult failed(Verdict verdict, QJsonObject object, const std::string& why) {
    object["error"] = q(why);
    return {verdict, object};
}

}  // namespace

CommandResult resultOf(const std::string& name, const projector::Answer& answer) {
    QJsonObject object =
        exchangeJson({name, answer.code, answer.reply, answer.answered(),
                      projector::isQuery(answer.code), answer.decoded, answer.reading});
    object["outcome"] = q(web::outcomeName(answer.outcome));
    const auto code = projector::shown(answer.code);
    switch (answer.outcome) {
        case Outcome::Answered:
            return {Verdict::Answered, object};
        case Outcome::NoReply:
            return failed(Verdict::NoReply, object, "The projector did not reply to " + code + ".");
        case Outcome::Cut:
        case Outcome::Undecoded:
        case Outcome::Unexpected:
            return failed(Verdict::Unreadable, object,
                          "The projector's reply to " + code + " cannot be read: \"" +
                              projector::traceOf(answer.reply) + "\".");
        case Outcome::NotSent:
        case Outcome::Lost:
            return failed(Verdict::Away, object,
                          "The projector's device is away: nothing was sent.");
        case Outcome::Silent:
            break;
    }
    return failed(Verdict::Away, object,
                  "The projector is not answering (its mains off, or its cable out at its "
                  "end?): nothing was sent.");
}

void runCommand(projector::SharedLine& line, const std::string& name, const CommandDone& done) {
    const projector::Command* command = projector::commandNamed(name);
    if (!command) {
        return done(failed(Verdict::Unknown, {{"command", q(name)}},
                           "There is no command \"" + name + "\" in the catalogue."));
    }
    const std::string code(command->code);
    const auto answered = [name, done](const projector::Answer& answer) {
        done(resultOf(name, answer));
    };
    if (projector::isQuery(code)) return line.query(code, answered);
    line.query(std::string(projector::codeOf("power-state")),
               [&line, name, code, done, answered](const projector::Answer& answer) {
                   if (!answer.answered() || !answer.reading) {
                       return done(resultOf("power-state", answer));
                   }
                   if (const auto refused = web::refusal(name, answer.reading->text)) {
                       return done(failed(Verdict::Refused, {{"command", q(name)}}, *refused));
                   }
                   line.exchange(code, projector::Expect::Ack, answered);
               });
}

void runCode(projector::SharedLine& line, const std::string& typed, const CommandDone& done) {
    const std::string code = projector::wireBytesOf(typed);
    if (code.size() > kLongestCode) {
        return done(failed(Verdict::TooLong, {},
                           "A code of at most 32767 characters, as the window sends."));
    }
    line.exchange(code, projector::Expect::Either,
                  [done](const projector::Answer& answer) { done(resultOf("send", answer)); });
}

}  // namespace app
