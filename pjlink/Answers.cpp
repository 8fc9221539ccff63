#include "pjlink/Answers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "pjlink/Mapping.h"
#include "vocabulary/Commands.h"

namespace pjlink {

namespace {

constexpr char kStandby = '0';
constexpr char kCooling = '2';
constexpr char kWarmingUp = '3';
// PJLink's longest answer of what a projector says of itself.
constexpr std::size_t kLongestInformation = 32;

std::string failed(Error error) {
    return std::string(errorText(error));
}

}  // namespace

// What the KR60P cannot tell is said as the standard has it for a projector
// without the item: no serial number, resolution or replacement model
// (empty), filter hours not counted (0).
Answers::Answers(projector::SharedLine& line, Identity identity)
    : line_(line),
      said_{{"NAME", std::move(identity.name)},
            {"INF1", std::move(identity.maker)},
            {"INF2", std::move(identity.model)},
            {"INFO", std::move(identity.info)},
            {"CLSS", "2"},
            {"SNUM", ""},
            {"RRES", ""},
            {"RLMP", ""},
            {"RFIL", ""},
            {"FILT", "0"}} {
    std::string inputs;
    for (const InputRow& row : inputRows()) {
        inputs += (inputs.empty() ? "" : " ") + std::string(row.input);
    }
    said_["INST"] = inputs;
    line_.onAnswer([this](const projector::Answer& answer) {
        if (!answer.answered()) return;
        if (answer.code == projector::codeOf("freeze-on")) frozen_ = true;
        if (answer.code == projector::codeOf("freeze-off")) frozen_ = false;
    });
}

void Answers::answer(const Request& request, const Reply& reply) {
    const std::string& command = request.command;
    if (const auto said = said_.find(command); said != said_.end()) return reply(said->second);
    if (request.version == '2' && answerClass2(request, reply)) return;
    if (command == "POWR") return power(request, reply);
    if (command == "INPT") return input(request, reply);
    if (command == "AVMT") return mute(request, reply);
    if (command == "LAMP") return lamps(reply);
    if (command == "ERST") {
        return read("CR0", reply, [reply](const projector::Reading& reading) {
            const StateRow* row = stateRow(reading.text);
            reply(row ? std::string(row->errors) : failed(Error::ProjectorFailure));
        });
    }
    reply(failed(Error::Undefined));
}

bool Answers::answerClass2(const Request& request, const Reply& reply) {
    const std::string& command = request.command;
    if (command == "SVER") {
        read("CR9", reply, [reply](const projector::Reading& reading) {
            reply(reading.text.substr(0, kLongestInformation));
        });
    } else if (command == "INNM") {
        const auto rows = inputRows();
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const InputRow& input) {
            return request.parameter.substr(1) == input.input;
        });
        reply(row != rows.end() ? std::string(row->name) : failed(Error::OutOfParameter));
    } else if (command == "IRES") {
        // No signal, or one whose resolution the projector does not tell.
        read("CRA", reply, [reply](const projector::Reading& reading) {
            if (reading.text == "standby") return reply(failed(Error::UnavailableTime));
            reply(reading.text == "no-signal" ? "-" : "*");
        });
    } else if (command == "SVOL") {
        actWhileLit({request.parameter == "1" ? "volume-up" : "volume-down"}, reply);
    } else if (command == "FREZ") {
        if (!request.query()) {
            actWhileLit({request.parameter == "1" ? "freeze-on" : "freeze-off"}, reply);
        } else {
            reply(frozen_ ? std::string(*frozen_ ? "1" : "0") : failed(Error::UnavailableTime));
        }
    } else {
        return false;
    }
    return true;
}

// POWR 1 while cooling down is refused, as the projector would ignore it.
// POWR 0 while warming up is sent, then the state read again: a projector
// still warming up ignored it.
void Answers::power(const Request& request, const Reply& reply) {
    if (request.query()) {
        return withPower(reply, [reply](char power) { reply(std::string(1, power)); });
    }
    const bool on = request.parameter == "1";
    withPower(reply, [this, on, reply](char power) {
        if (on) {
            if (power == kCooling) return reply(failed(Error::UnavailableTime));
            return act({"power-on"}, reply);
        }
        if (power != kWarmingUp) return act({"power-off"}, reply);
        act({"power-off"}, [this, reply](const std::string& text) {
            if (text != "OK") return reply(text);
            withPower(reply, [reply](char after) {
                reply(after == kWarmingUp ? failed(Error::UnavailableTime) : std::string("OK"));
            });
        });
    });
}

void Answers::input(const Request& request, const Reply& reply) {
    if (request.query()) {
        return read("CR1", reply, [reply](const projector::Reading& reading) {
            for (const InputRow& row : inputRows()) {
                if (row.reading == reading.text) return reply(std::string(row.input));
            }
            // Input mode 4 has no PJLink number.
            reply(failed(Error::UnavailableTime));
        });
    }
    for (const InputRow& row : inputRows()) {
        if (row.input != request.parameter) continue;
        return actWhileLit({std::string(row.command)}, reply);
    }
    reply(failed(Error::OutOfParameter));
}

void Answers::mute(const Request& request, const Reply& reply) {
    if (request.query()) {
        return read("CRA", reply, [reply](const projector::Reading& reading) {
            for (const MuteReading& row : muteReadings()) {
                if (row.reading != reading.text) continue;
                // In standby the projector cannot say: no state is invented.
                return reply(row.setting.empty() ? failed(Error::UnavailableTime)
                                                 : std::string(row.setting));
            }
            reply(failed(Error::ProjectorFailure));
        });
    }
    for (const MuteSetting& setting : muteSettings()) {
        if (setting.setting != request.parameter) continue;
        return actWhileLit({setting.commands.begin(), setting.commands.end()}, reply);
    }
    reply(failed(Error::OutOfParameter));
}

// Each lamp CR7 speaks of, with CR3's hours: the projector counts one time.
void Answers::lamps(const Reply& reply) {
    read("CR3", reply, [this, reply](const projector::Reading& time) {
        const auto hours = std::to_string(static_cast<long long>(std::floor(time.numbers.at(0))));
        read("CR7", reply, [hours, reply](const projector::Reading& mode) {
            for (const LampRow& row : lampRows()) {
                if (row.reading != mode.text) continue;
                std::string text;
                for (const char lit : row.lamps) {
                    text += (text.empty() ? "" : " ") + hours + ' ' + lit;
                }
                return reply(text);
            }
            reply(failed(Error::ProjectorFailure));
        });
    });
}

void Answers::read(const std::string& code, const Reply& reply, Then then) {
    line_.query(code, [reply, then = std::move(then)](const projector::Answer& answer) {
        if (!answer.answered() || !answer.reading) return reply(failed(Error::ProjectorFailure));
        then(*answer.reading);
    });
}

void Answers::act(std::vector<std::string> names, const Reply& reply) {
    if (names.empty()) return reply("OK");
    const std::string code(projector::codeOf(names.front()));
    names.erase(names.begin());
    line_.exchange(code, projector::Expect::Ack,
                   [this, names = std::move(names), reply](const projector::Answer& answer) {
                       if (!answer.answered()) return reply(failed(Error::ProjectorFailure));
                       act(names, reply);
                   });
}

void Answers::actWhileLit(std::vector<std::string> names, const Reply& reply) {
    withPower(reply, [this, names = std::move(names), reply](char power) {
        if (power == kStandby || power == kCooling) return reply(failed(Error::UnavailableTime));
        act(names, reply);
    });
}

void Answers::withPower(const Reply& reply, std::function<void(char power)> then) {
    read("CR0", reply, [reply, then = std::move(then)](const projector::Reading& reading) {
        const StateRow* row = stateRow(reading.text);
        if (!row) return reply(failed(Error::ProjectorFailure));
        then(row->power);
    });
}

}  // namespace pjlink
