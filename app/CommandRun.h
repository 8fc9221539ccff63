#pragma once
// A command asked for by name or by its code from a front end (the JSON
// API, MQTT): refused before it goes when the projector would ignore it in
// the state it is in, sent through the shared line otherwise, and its
// outcome as JSON with the names and numbers kr60p-ctl --json gives, a
// sentence a person understands where it failed.

#include <QJsonObject>
#include <functional>
#include <string>

#include "link/SharedLine.h"

namespace app {

struct CommandResult {
    enum class Verdict { Answered, Unknown, TooLong, Refused, NoReply, Unreadable, Away };
    Verdict verdict = Verdict::Answered;
    QJsonObject object;  // with "error" unless answered
};
using CommandDone = std::function<void(const CommandResult&)>;

// A catalogue command: a query goes at once (shared, or a second-old
// answer); anything else once the power state allows it.
void runCommand(projector::SharedLine& line, const std::string& name, const CommandDone& done);
// A code as typed, as the window sends it.
void runCode(projector::SharedLine& line, const std::string& code, const CommandDone& done);

CommandResult resultOf(const std::string& name, const projector::Answer& answer);

}  // namespace app
