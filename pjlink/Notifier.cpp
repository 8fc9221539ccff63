#include "pjlink/Notifier.h"

#include <utility>

#include "pjlink/Mapping.h"
#include "vocabulary/Commands.h"

namespace pjlink {

namespace {

// The poll, in turn; the power state twice as often, as it carries the errors.
constexpr std::array kPoll{Status::Power, Status::Input, Status::Power, Status::Mute};

std::string codeOf(Status status) {
    return std::string(projector::codeOf(queryOf(status)));
}

// The status an action changes, read again after it.
std::optional<Status> changedBy(std::string_view code) {
    switch (projector::changesOf(code)) {
        case projector::Changes::Power:
            return Status::Power;
        case projector::Changes::Input:
            return Status::Input;
        case projector::Changes::Mutes:
            return Status::Mute;
        case projector::Changes::Nothing:
            break;
    }
    return std::nullopt;
}

}  // namespace

Notifier::Notifier(projector::SharedLine& line, toolkit::Timer& poll,
                   projector::SharedLine::Now now, Tell tell)
    : line_(line), poll_(poll), now_(std::move(now)), tell_(std::move(tell)) {
    poll_.setInterval(kStatusPollMs);
    poll_.onTimer([this] { tick(); });
    line_.onAnswer([this](const projector::Answer& answer) { heard(answer); });
    // A projector that does not answer is in error until it answers again,
    // when its own status is learnt and told.
    line_.onSilence([this](bool silent) {
        if (silent) otherError();
    });
}

void Notifier::setListening(bool anyone) {
    const bool starting = anyone && !listening_;
    listening_ = anyone;
    poll_.setEnabled(anyone);
    if (starting) tick();  // what is known now is what changes are told against
}

void Notifier::portEvent(const projector::PortEvent& event) {
    if (event.kind == projector::PortEvent::Kind::Lost ||
        event.kind == projector::PortEvent::Kind::StartFailed) {
        otherError();
    }
}

void Notifier::otherError() {
    // A projector silent or away from the start is an error all the same,
    // told against an error status of none.
    Known& errorsKnown = known(Status::Errors);
    if (!errorsKnown.value) errorsKnown.value = errorsKnown.told = "000000";
    std::string errors = *errorsKnown.value;
    errors.back() = '2';
    learnt(Status::Errors, errors);
}

void Notifier::heard(const projector::Answer& answer) {
    if (!answer.answered()) return;
    if (!answer.reading) {
        // An action the projector took: what it changed is read again now.
        const auto changed = changedBy(answer.code);
        if (listening_ && changed) line_.query(codeOf(*changed), [](const auto&) {});
        return;
    }
    for (const Status status : kStatuses) {
        const auto value = statusOf(*answer.reading, status);
        if (value && *value) learnt(status, **value);
    }
}

void Notifier::learnt(Status status, const std::string& value) {
    Known& known = this->known(status);
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
    Known& known = this->known(status);
    known.told = known.value;
    known.toldAt = now_();
    if (listening_) tell_("%2" + std::string(commandOf(status)) + "=" + *known.value + "\r");
}

void Notifier::tick() {
    for (const Status status : kStatuses) {
        const Known& known = this->known(status);
        if (known.value && known.told != known.value && !known.heldBack(now_())) tell(status);
    }
    line_.query(codeOf(kPoll[next_]), [](const projector::Answer&) {});
    next_ = (next_ + 1) % kPoll.size();
}

}  // namespace pjlink
