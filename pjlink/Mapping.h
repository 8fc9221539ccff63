#pragma once
// How PJLink's commands and answers stand for the KR60P's own: one set of
// tables, read by the gateway's answers and written into the README.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pjlink/Protocol.h"
#include "vocabulary/Decoder.h"

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

// What the projector's readings tell in PJLink's terms, and what Class 2
// notifies: the power, the input, the mutes and the error status.
enum class Status { Power, Input, Mute, Errors };
inline constexpr Status kStatuses[] = {Status::Power, Status::Input, Status::Mute, Status::Errors};
// PJLink's command for it ("POWR"), and the catalogue's query that reads it.
std::string_view commandOf(Status status);
std::string_view queryOf(Status status);
// What a reading says of a status: its value ("1", "21", "31", "000000"),
// or the error a request for it is answered with (ERR3 for the mutes in
// standby, ERR4 for a state no row knows); nothing when the reading does
// not speak of it. The answers and the notifications both read it here.
std::optional<Response> statusOf(const projector::Reading& reading, Status status);

// POWR's digit as a program names it: "standby", "on", "cooling-down",
// "warming-up"; the four in POWR's order.
std::string_view powerName(char power);
inline constexpr std::array<std::string_view, 4> kPowerNames{"standby", "on", "cooling-down",
                                                             "warming-up"};

// What ERST's six digits are of, in its order.
inline constexpr std::array<std::string_view, 6> kErrorComponents{"fan",   "lamp",   "temperature",
                                                                  "cover", "filter", "other"};

// ERST's six digits in a person's words: "Temperature: warning", ...; none
// when all is well.
std::vector<std::string> errorWords(std::string_view errors);

// The tables above in Markdown, as the README shows them.
std::string mappingTables();

}  // namespace pjlink
