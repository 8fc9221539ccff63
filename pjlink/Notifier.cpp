#include "pjlink/Notifier.h"

#include <utility>

#include "pjlink/Mapping.h"
#include "vocabulary/Commands.h"

namespace pjlink {

namespace {

constexpr std::array<std::string_view, 4> kCommands{"POWR", "INPT", "AVMT", "ERST"};
// The poll, in turn; the power state twice as often, as it carries the errors.
constexpr std::array<std::string_view, 4> kPoll{"CR0", "CR1", "CR0", "CRA"};

// The query that reads again what a command has changed.
std::string_view queryAfter(std::string_view code) {
    for (const InputRow& row : inputRows()) {
        if (projector::codeOf(row.command) == code) return "CR1";
    }
    for (const MuteSetting& setting : muteSettings()) {
        for (const std::string_view name : setting.commands) {
            if (projector::codeOf(name) == code) return "CRA";
        }
    }
    if (code == projector::codeOf("power-on") || code == projector::codeOf("power-off")) {
        return "CR0";
    }
    return {};
}

}  // namespace

Notifier::Notifier(projector::SharedLine& line, toolkit::Timer& poll,
                   projector::SharedLine::Now now, Tell tell)
    : line_(line), poll_(poll), now_(std::move(now)), tell_(std::move(tell)) {
    poll_.setInterval(kStatusPollMs);
    poll_.onTimer([this] { tick(); });
    line_.onAnswer([this](const projector::Answer& answer) { heard(answer); });
}

void Notifier::setListening(bool anyone) {
    const bool starting = anyone && !listening_;
    listening_ = anyone;
    poll_.setEnabled(anyone);
    if (starting) tick();  // what is known now is what changes are told against
}

void Notifier::portEvent(const projector::PortEvent& event) {
    if (event.kind != projector::PortEvent::Kind::Lost &&
        event.kind != projector::PortEvent::Kind::StartFailed) {
        return;
    }
    std::string errors = known_[Errors].value.value_or("000000");
    errors.back() = '2';
    learnt(Errors, errors);
}

void Notifier::heard(const projector::Answer& answer) {
    if (!answer.answered()) return;
    if (!answer.reading) {
        // An action the projector took: what it changed is read again now.
        const std::string_view query = queryAfter(answer.code);
        if (listening_ && !query.empty()) line_.query(std::string(query), [](const auto&) {});
        return;
    }
    const projector::Reading& reading = *answer.reading;
    if (reading.field == "state") {
        if (const StateRow* row = stateRow(reading.text)) {
            learnt(Power, std::string(1, row->power));
            learnt(Errors, std::string(row->errors));
        }
    } else if (reading.field == "input") {
        for (const InputRow& row : inputRows()) {
            if (row.reading == reading.text) learnt(Input, std::string(row.input));
        }
    } else if (reading.field == "mute") {
        for (const MuteReading& row : muteReadings()) {
            if (row.reading == reading.text && !row.setting.empty()) {
                learnt(Mute, std::string(row.setting));
            }
        }
    }
}

void Notifier::learnt(Status status, const std::string& value) {
    Known& known = known_[status];
    const bool first = !known.value;
    known.value = value;
    // What the gateway first learns is no change: there is nothing to tell.
    if (first) {
        known.told = value;
        return;
    }
    if (known.told != value && !known.heldBack(now_())) tell(status);
}

void Notifier::tell(Status status) {
    Known& known = known_[status];
    known.told = known.value;
    known.toldAt = now_();
    if (listening_) tell_("%2" + std::string(kCommands[status]) + "=" + *known.value + "\r");
}

void Notifier::tick() {
    for (std::size_t status = 0; status < kStatuses; ++status) {
        const Known& known = known_[status];
        if (known.value && known.told != known.value && !known.heldBack(now_())) {
            tell(static_cast<Status>(status));
        }
    }
    line_.query(std::string(kPoll[next_]), [](const projector::Answer&) {});
    next_ = (next_ + 1) % kPoll.size();
}

}  // namespace pjlink
