#include "pjlink/Answers.h"

#include <cmath>
#include <memory>
#include <utility>

#include "pjlink/Mapping.h"
#include "vocabulary/Commands.h"

namespace pjlink {

namespace {

constexpr char kStandby = '0';
constexpr char kCooling = '2';
constexpr char kWarmingUp = '3';

std::string failed(Error error) {
    return std::string(errorText(error));
}

}  // namespace

Answers::Answers(projector::SharedLine& line, Identity identity)
    : line_(line), identity_(std::move(identity)) {}

void Answers::answer(const Request& request, const Reply& reply) {
    const std::string& command = request.command;
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
    if (command == "INST") {
        std::string inputs;
        for (const InputRow& row : inputRows()) {
            inputs += (inputs.empty() ? "" : " ") + std::string(row.input);
        }
        return reply(inputs);
    }
    if (command == "NAME") return reply(identity_.name);
    if (command == "INF1") return reply(identity_.maker);
    if (command == "INF2") return reply(identity_.model);
    if (command == "INFO") return reply(identity_.info);
    if (command == "CLSS") return reply("1");
    reply(failed(Error::Undefined));
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
        const std::string command(row.command);
        return withPower(reply, [this, command, reply](char power) {
            if (power == kStandby || power == kCooling) {
                return reply(failed(Error::UnavailableTime));
            }
            act({command}, reply);
        });
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
        std::vector<std::string> names(setting.commands.begin(), setting.commands.end());
        return withPower(reply, [this, names, reply](char power) {
            if (power == kStandby || power == kCooling) {
                return reply(failed(Error::UnavailableTime));
            }
            act(names, reply);
        });
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

void Answers::withPower(const Reply& reply, std::function<void(char power)> then) {
    read("CR0", reply, [reply, then = std::move(then)](const projector::Reading& reading) {
        const StateRow* row = stateRow(reading.text);
        if (!row) return reply(failed(Error::ProjectorFailure));
        then(row->power);
    });
}

}  // namespace pjlink
