#pragma once
// How PJLink's commands and answers stand for the KR60P's own: one set of
// tables, read by the gateway's answers and written into the README.

#include <span>
#include <string>
#include <string_view>

namespace pjlink {

// A reply to CR0: the power PJLink reports (0 standby, 1 on, 2 cooling,
// 3 warming up) and the six digits of ERST (fan, lamp, temperature, cover,
// filter, other; 0 fine, 1 warning, 2 error).
struct StateRow {
    std::string_view reply;  // CR0's two digits
    std::string_view state;  // the decoder's name for it
    char power;
    std::string_view errors;
};
std::span<const StateRow> stateRows();
const StateRow* stateRow(std::string_view state);

// An input: PJLink's number, the catalogue's command that chooses it, the
// decoder's name for CR1's reply, and its name for people.
struct InputRow {
    std::string_view input;
    std::string_view command;
    std::string_view reading;
    std::string_view name;
};
std::span<const InputRow> inputRows();

// AVMT: a setting and the commands that make it; a reading of CRA and the
// setting it reports ("" where the projector cannot tell: in standby).
struct MuteSetting {
    std::string_view setting;
    std::span<const std::string_view> commands;
};
std::span<const MuteSetting> muteSettings();
struct MuteReading {
    std::string_view reading;
    std::string_view setting;
};
std::span<const MuteReading> muteReadings();

// LAMP: the lamps CR7's reply speaks of, "1" lit and "0" dark for each.
struct LampRow {
    std::string_view reading;
    std::string_view lamps;
};
std::span<const LampRow> lampRows();

// The tables above in Markdown, as the README shows them.
std::string mappingTables();

}  // namespace pjlink
