#include "pjlink/Mapping.h"

#include <array>

namespace pjlink {

namespace {

// A combined state counts as its main part (the first digit) for the
// power, and its second digit tells the error.
// clang-format off
constexpr std::array kStates = std::to_array<StateRow>({
    {"00", "on",                                    '1', "000000"},
    {"80", "standby",                               '0', "000000"},
    {"40", "warming-up",                            '3', "000000"},
    {"20", "cooling-down",                          '2', "000000"},
    {"10", "power-fail",                            '0', "000002"},
    {"08", "temperature-warning",                   '1', "001000"},
    {"02", "no-key-input",                          '1', "000000"},
    {"04", "lamp-off-by-power-management",          '1', "000000"},
    {"28", "cooling-down-temperature-warning",      '2', "001000"},
    {"24", "cooling-down-power-management",         '2', "000000"},
    {"88", "standby-temperature-warning-recovered", '0', "001000"},
    {"21", "cooling-down-all-lamps-failed",         '2', "020000"},
    {"81", "standby-all-lamps-failed",              '0', "020000"},
});

constexpr std::array kInputs = std::to_array<InputRow>({
    {"11", "input-pc1",   "computer-1", "Computer 1"},
    {"12", "input-pc2",   "computer-2", "Computer 2"},
    {"21", "input-video", "video",      "Video"},
});

constexpr std::array<std::string_view, 1> kPictureOff{"no-show-off"};
constexpr std::array<std::string_view, 1> kPictureOn{"no-show-on"};
constexpr std::array<std::string_view, 1> kSoundOff{"mute-off"};
constexpr std::array<std::string_view, 1> kSoundOn{"mute-on"};
constexpr std::array<std::string_view, 2> kBothOff{"no-show-off", "mute-off"};
constexpr std::array<std::string_view, 2> kBothOn{"no-show-on", "mute-on"};
constexpr std::array kMuteSettings = std::to_array<MuteSetting>({
    {"10", kPictureOff},
    {"11", kPictureOn},
    {"20", kSoundOff},
    {"21", kSoundOn},
    {"30", kBothOff},
    {"31", kBothOn},
});

constexpr std::array kMuteReadings = std::to_array<MuteReading>({
    {"off",         "30"},
    {"video",       "11"},
    {"audio",       "21"},
    {"video-audio", "31"},
    {"no-signal",   "30"},
    {"standby",     ""},
});

constexpr std::array kLamps = std::to_array<LampRow>({
    {"two-lamps-all-off", "00"},
    {"two-lamps-no1-on",  "10"},
    {"two-lamps-no2-on",  "01"},
    {"two-lamps-both-on", "11"},
    {"one-lamp-no1-off",  "0"},
    {"one-lamp-no1-on",   "1"},
    {"one-lamp-no2-off",  "0"},
    {"one-lamp-no2-on",   "1"},
});
// clang-format on

std::string row(std::initializer_list<std::string_view> cells) {
    std::string line = "|";
    for (const std::string_view cell : cells) {
        line += ' ';
        line += cell;
        line += " |";
    }
    return line + '\n';
}

std::string code(std::string_view text) {
    return text.empty() ? std::string("ERR3") : "`" + std::string(text) + "`";
}

}  // namespace

std::span<const StateRow> stateRows() {
    return kStates;
}

const StateRow* stateRow(std::string_view state) {
    for (const StateRow& row : kStates) {
        if (row.state == state) return &row;
    }
    return nullptr;
}

std::span<const InputRow> inputRows() {
    return kInputs;
}

std::span<const MuteSetting> muteSettings() {
    return kMuteSettings;
}

std::span<const MuteReading> muteReadings() {
    return kMuteReadings;
}

std::span<const LampRow> lampRows() {
    return kLamps;
}

std::string_view commandOf(Status status) {
    switch (status) {
        case Status::Power:
            return "POWR";
        case Status::Input:
            return "INPT";
        case Status::Mute:
            return "AVMT";
        case Status::Errors:
            break;
    }
    return "ERST";
}

std::string_view queryOf(Status status) {
    switch (status) {
        case Status::Power:
        case Status::Errors:
            return "power-state";
        case Status::Input:
            return "input-mode";
        case Status::Mute:
            break;
    }
    return "mute-state";
}

std::optional<Response> statusOf(const projector::Reading& reading, Status status) {
    using projector::Field;
    const auto failed = [](Error error) { return Response(toolkit::failure(error)); };
    switch (status) {
        case Status::Power:
        case Status::Errors: {
            if (reading.field != Field::State) return std::nullopt;
            const StateRow* row = stateRow(reading.text);
            if (!row) return failed(Error::ProjectorFailure);
            return status == Status::Power ? Response(std::string(1, row->power))
                                           : Response(std::string(row->errors));
        }
        case Status::Input:
            if (reading.field != Field::Input) return std::nullopt;
            for (const InputRow& row : kInputs) {
                if (row.reading == reading.text) return Response(std::string(row.input));
            }
            return failed(Error::UnavailableTime);  // input mode 4 has no PJLink number
        case Status::Mute:
            if (reading.field != Field::Mute) return std::nullopt;
            for (const MuteReading& row : kMuteReadings) {
                if (row.reading != reading.text) continue;
                // In standby the projector cannot say: no state is invented.
                if (row.setting.empty()) return failed(Error::UnavailableTime);
                return Response(std::string(row.setting));
            }
            return failed(Error::ProjectorFailure);
    }
    return std::nullopt;
}

std::string_view powerName(char power) {
    const std::size_t at = static_cast<std::size_t>(power - '0');
    return at < kPowerNames.size() ? kPowerNames[at] : kPowerNames[0];
}

std::vector<std::string> errorWords(std::string_view errors) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < kErrorComponents.size() && i < errors.size(); ++i) {
        std::string component(kErrorComponents[i]);
        component[0] = static_cast<char>(component[0] - 'a' + 'A');
        if (errors[i] == '1') words.push_back(component + ": warning");
        if (errors[i] == '2') words.push_back(component + ": error");
    }
    return words;
}

std::string mappingTables() {
    std::string text = row({"CR0 reply", "state", "POWR ?", "ERST ?"});
    text += "|---|---|---|---|\n";
    for (const StateRow& state : kStates) {
        text += row({code(state.reply), state.state, code(std::string_view(&state.power, 1)),
                     code(state.errors)});
    }
    text += '\n' + row({"INPT", "command", "CR1 reading", "name"});
    text += "|---|---|---|---|\n";
    for (const InputRow& input : kInputs) {
        text += row({code(input.input), input.command, input.reading, input.name});
    }
    text += '\n' + row({"AVMT", "commands"});
    text += "|---|---|\n";
    for (const MuteSetting& setting : kMuteSettings) {
        std::string commands;
        for (const std::string_view command : setting.commands) {
            commands += (commands.empty() ? "" : ", ") + std::string(command);
        }
        text += row({code(setting.setting), commands});
    }
    text += '\n' + row({"CRA reading", "AVMT ?"});
    text += "|---|---|\n";
    for (const MuteReading& reading : kMuteReadings) {
        text += row({reading.reading, code(reading.setting)});
    }
    text += '\n' + row({"CR7 reading", "lamps (1 lit, 0 dark)"});
    text += "|---|---|\n";
    for (const LampRow& lamps : kLamps) text += row({lamps.reading, code(lamps.lamps)});
    return text;
}

}  // namespace pjlink
