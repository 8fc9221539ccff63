#include "pjlink/Answers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "vocabulary/Commands.h"

namespace pjlink {

namespace {

constexpr char kStandby = '0';
constexpr char kCooling = '2';
constexpr char kWarmingUp = '3';
// PJLink's longest answer of what a projector says of itself.
constexpr std::size_t kLongestInformation = 32;

Response failed(Error error) {
    return toolkit::failure(error);
}

}  // namespace

Answers::Answers(projector::SharedLine& line, Identity identity)
    : line_(line), identity_(std::move(identity)) {
    for (const InputRow& row : inputRows()) {
        inputs_ += (inputs_.empty() ? "" : " ") + std::string(row.input);
    }
    line_.onAnswer([this](const projector::Answer& answer) {
        if (!answer.answered()) return;
        if (answer.code == projector::codeOf("freeze-on")) frozen_ = true;
        if (answer.code == projector::codeOf("freeze-off")) frozen_ = false;
    });
}

void Answers::answer(const Request& request, const Respond& respond) {
    if (!request.row) return respond(failed(Error::Undefined));
    switch (request.row->handling) {
        case Handling::Fixed:
            return respond(std::string(request.row->text));
        case Handling::Name:
            return respond(identity_.name);
        case Handling::Maker:
            return respond(identity_.maker);
        case Handling::Model:
            return respond(identity_.model);
        case Handling::Information:
            return respond(identity_.info);
        case Handling::Inputs:
            return respond(inputs_);
        case Handling::Power:
            return power(request, respond);
        case Handling::Input:
            return input(request, respond);
        case Handling::Mute:
            return mute(request, respond);
        case Handling::Errors:
            return readStatus(Status::Errors, respond);
        case Handling::Lamps:
            return lamps(respond);
        case Handling::Version:
            return read("software-version", respond, [respond](const projector::Reading& reading) {
                respond(reading.text.substr(0, kLongestInformation));
            });
        case Handling::InputName:
            return inputName(request, respond);
        case Handling::Resolution:
            return resolution(respond);
        case Handling::Volume:
            return actWhileLit({request.parameter == "1" ? "volume-up" : "volume-down"}, respond);
        case Handling::Freeze:
            return freeze(request, respond);
    }
    respond(failed(Error::Undefined));
}

// POWR 1 while cooling down is refused, as the projector would ignore it.
// POWR 0 while warming up is sent, then the state read again: a projector
// still warming up ignored it.
void Answers::power(const Request& request, const Respond& respond) {
    if (request.query()) return readStatus(Status::Power, respond);
    const bool on = request.parameter == "1";
    withPower(respond, [this, on, respond](char power) {
        if (on) {
            if (power == kCooling) return respond(failed(Error::UnavailableTime));
            return act({"power-on"}, respond);
        }
        if (power != kWarmingUp) return act({"power-off"}, respond);
        act({"power-off"}, [this, respond](const Response& response) {
            if (!response) return respond(response);
            withPower(respond, [respond](char after) {
                respond(after == kWarmingUp ? failed(Error::UnavailableTime)
                                            : Response(std::string("OK")));
            });
        });
    });
}

void Answers::input(const Request& request, const Respond& respond) {
    if (request.query()) return readStatus(Status::Input, respond);
    for (const InputRow& row : inputRows()) {
        if (row.input == request.parameter) return actWhileLit({std::string(row.command)}, respond);
    }
    respond(failed(Error::OutOfParameter));
}

void Answers::mute(const Request& request, const Respond& respond) {
    if (request.query()) return readStatus(Status::Mute, respond);
    for (const MuteSetting& setting : muteSettings()) {
        if (setting.setting != request.parameter) continue;
        return actWhileLit({setting.commands.begin(), setting.commands.end()}, respond);
    }
    respond(failed(Error::OutOfParameter));
}

// Each lamp the lamp mode speaks of, with the lamp time's hours: the
// projector counts one time.
void Answers::lamps(const Respond& respond) {
    read("lamp-time", respond, [this, respond](const projector::Reading& time) {
        const auto hours = std::to_string(static_cast<long long>(std::floor(*time.numbers.at(0))));
        read("lamp-mode", respond, [hours, respond](const projector::Reading& mode) {
            for (const LampRow& row : lampRows()) {
                if (row.reading != mode.text) continue;
                std::string text;
                for (const char lit : row.lamps) {
                    text += (text.empty() ? "" : " ") + hours + ' ' + lit;
                }
                return respond(text);
            }
            respond(failed(Error::ProjectorFailure));
        });
    });
}

void Answers::inputName(const Request& request, const Respond& respond) {
    const auto rows = inputRows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const InputRow& input) {
        return request.parameter.substr(1) == input.input;
    });
    respond(row != rows.end() ? Response(std::string(row->name)) : failed(Error::OutOfParameter));
}

// No signal, or one whose resolution the projector does not tell.
void Answers::resolution(const Respond& respond) {
    read("mute-state", respond, [respond](const projector::Reading& reading) {
        if (reading.text == "standby") return respond(failed(Error::UnavailableTime));
        respond(std::string(reading.text == "no-signal" ? "-" : "*"));
    });
}

void Answers::freeze(const Request& request, const Respond& respond) {
    if (!request.query()) {
        return actWhileLit({request.parameter == "1" ? "freeze-on" : "freeze-off"}, respond);
    }
    respond(frozen_ ? Response(std::string(*frozen_ ? "1" : "0")) : failed(Error::UnavailableTime));
}

void Answers::read(std::string_view query, const Respond& respond, Then then) {
    line_.query(std::string(projector::codeOf(query)),
                [respond, then = std::move(then)](const projector::Answer& answer) {
                    if (!answer.answered() || !answer.reading) {
                        return respond(failed(Error::ProjectorFailure));
                    }
                    then(*answer.reading);
                });
}

void Answers::readStatus(Status status, const Respond& respond) {
    read(queryOf(status), respond, [status, respond](const projector::Reading& reading) {
        respond(statusOf(reading, status).value_or(failed(Error::ProjectorFailure)));
    });
}

void Answers::act(std::vector<std::string> names, const Respond& respond) {
    if (names.empty()) return respond(std::string("OK"));
    const std::string code(projector::codeOf(names.front()));
    names.erase(names.begin());
    line_.exchange(code, projector::Expect::Ack,
                   [this, names = std::move(names), respond](const projector::Answer& answer) {
                       if (!answer.answered()) return respond(failed(Error::ProjectorFailure));
                       act(names, respond);
                   });
}

void Answers::actWhileLit(std::vector<std::string> names, const Respond& respond) {
    withPower(respond, [this, names = std::move(names), respond](char power) {
        if (power == kStandby || power == kCooling) {
            return respond(failed(Error::UnavailableTime));
        }
        act(names, respond);
    });
}

void Answers::withPower(const Respond& respond, std::function<void(char power)> then) {
    read(queryOf(Status::Power), respond,
         [respond, then = std::move(then)](const projector::Reading& reading) {
             const auto power =
                 statusOf(reading, Status::Power).value_or(failed(Error::ProjectorFailure));
             if (!power) return respond(power);
             then(power->front());
         });
}

}  // namespace pjlink
