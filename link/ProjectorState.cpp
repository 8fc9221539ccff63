#include "link/ProjectorState.h"

#include <memory>
#include <utility>

#include "vocabulary/Commands.h"

namespace projector {

namespace {

// The poll in turn: every query, the power state (which carries the
// errors) every third.
constexpr std::array kPoll{Field::State,    Field::Input,        Field::Mute,     Field::State,
                           Field::Hours,    Field::Temperatures, Field::State,    Field::Lamps,
                           Field::Pressure, Field::State,        Field::Reversal, Field::Version};
constexpr std::array kFields{Field::State,   Field::Input,        Field::Reversal,
                             Field::Hours,   Field::Temperatures, Field::Mute,
                             Field::Version, Field::Pressure,     Field::Lamps};

std::size_t indexOf(Field field) {
    return static_cast<std::size_t>(field);
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<Field> fieldChangedBy(std::string_view code) {
    switch (changesOf(code)) {
        case Changes::Power:
            return Field::State;
        case Changes::Input:
            return Field::Input;
        case Changes::Mutes:
            return Field::Mute;
        case Changes::Nothing:
            break;
    }
    return std::nullopt;
}

}  // namespace

ProjectorState::ProjectorState(SharedLine& line, toolkit::Timer& poll, Now now, WallClock wallClock)
    : line_(line), poll_(poll), now_(std::move(now)), wallClock_(std::move(wallClock)) {
    poll_.setInterval(kStatePollMs);
    poll_.onTimer([this] { tick(); });
    line_.onAnswer([this](const Answer& answer) { heard(answer); });
    line_.onSilence([this](bool) { tell(std::nullopt); });
}

const std::optional<ProjectorState::Known>& ProjectorState::known(Field field) const {
    return known_[indexOf(field)];
}

ProjectorState::Reach ProjectorState::reach() const {
    if (!open_) return Reach::Away;
    return line_.silent() ? Reach::Silent : Reach::Answering;
}

std::string_view ProjectorState::queryOf(Field field) {
    const Command* command = commandOfCode(codeOfField(field));
    return command ? command->name : std::string_view();
}

void ProjectorState::heard(const Answer& answer) {
    if (!answer.answered()) return;
    if (!answer.reading) {
        if (answer.code == codeOf("freeze-on") || answer.code == codeOf("freeze-off")) {
            frozen_ = answer.code == codeOf("freeze-on");
            tell(std::nullopt);
        }
        // An action the projector took: what it changed is read again now.
        if (const auto changed = fieldChangedBy(answer.code); changed && watchers_ > 0) {
            line_.query(std::string(codeOfField(*changed)), [](const Answer&) {});
        }
        return;
    }
    const Field field = answer.reading->field;
    std::optional<Known>& known = known_[indexOf(field)];
    const std::string words = trimmed(answer.decoded.value_or(""));
    const bool same = known && known->words == words;
    known = Known{*answer.reading, words, wallClock_(), now_()};
    if (!same) tell(field);
}

void ProjectorState::portEvent(const PortEvent& event) {
    using Kind = PortEvent::Kind;
    const bool before = open_;
    switch (event.kind) {
        case Kind::Started:
        case Kind::Switched:
        case Kind::Reconnected:
            open_ = true;
            break;
        case Kind::Lost:
        case Kind::StartFailed:
        case Kind::SwitchFailed:
        case Kind::Ended:
            open_ = false;
            break;
        default:
            return;
    }
    if (open_ != before) tell(std::nullopt);
    if (open_ && watchers_ > 0) tick();  // back: what is it now?
}

void ProjectorState::refresh(std::int64_t maxAgeMs, std::function<void()> done) {
    auto left = std::make_shared<int>(0);
    auto finished = std::make_shared<std::function<void()>>(std::move(done));
    std::vector<Field> stale;
    for (const Field field : kFields) {
        const auto& known = known_[indexOf(field)];
        if (!known || now_() - known->at > maxAgeMs) stale.push_back(field);
    }
    if (stale.empty() || !open_) return (*finished)();
    *left = static_cast<int>(stale.size());
    for (const Field field : stale) {
        line_.query(std::string(codeOfField(field)), [left, finished](const Answer&) {
            if (--*left == 0) (*finished)();
        });
    }
}

void ProjectorState::setWatchers(int watchers) {
    const bool starting = watchers > 0 && watchers_ == 0;
    watchers_ = watchers < 0 ? 0 : watchers;
    poll_.setEnabled(watchers_ > 0);
    if (starting) tick();
}

void ProjectorState::tick() {
    if (!open_) return;
    line_.query(std::string(codeOfField(kPoll[next_])), [](const Answer&) {});
    next_ = (next_ + 1) % kPoll.size();
}

void ProjectorState::tell(std::optional<Field> field) {
    for (const auto& changed : changed_) changed(field);
}

}  // namespace projector
