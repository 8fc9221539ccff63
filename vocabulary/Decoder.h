#pragma once
// Turns the received trace into a plain-language line when the last line
// sent was one of the nine known queries.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace projector {

// The caption for the result label, or nothing to leave it unchanged.
// pressureValue is the pressure rule's working value; it keeps its last
// value when a reading does not fit.
std::optional<std::string> decodeReply(std::string_view sendLine, std::string_view commandPrefix,
                                       std::string_view trace, std::int16_t& pressureValue);

// What a query's reply says, as a program wants it: a stable name for a
// state ("standby", "computer-1"), the lamp hours, the three temperatures or
// the pressure in hPa as numbers, the version as its text.
enum class Field { State, Input, Reversal, Hours, Temperatures, Mute, Version, Pressure, Lamps };
// What a program calls it: "state", "input", "hours", "temperatures", "hPa", ...
std::string_view fieldName(Field field);

struct Reading {
    Field field;
    std::string text;  // a state's name, or the version
    // Hours; S1, S2, S3; hPa. Nothing for one that is no number where the
    // decoder reads it (the window still shows its characters).
    std::vector<std::optional<double>> numbers;
};
// Nothing when the reply is not a whole line, or (a table's) says nothing the
// table knows.
std::optional<Reading> readReply(std::string_view code, std::string_view reply,
                                 std::int16_t& pressureValue);

// A query's whole reply, decoded once: the words the window would show for
// it, and what it says for a program. Either is nothing where the decoder
// cannot read it.
struct Decoded {
    std::optional<std::string> words;
    std::optional<Reading> reading;
};
Decoded decodeAnswer(std::string_view code, std::string_view reply);

// The query whose reply the decoder reads as this field ("CR0" for the state).
std::string_view codeOfField(Field field);

// The names a field read from a table can take ("standby", "on", ...), in
// the table's order; none for a number or a text.
std::vector<std::string_view> namesOf(Field field);

// Whether the decoder reads the replies to this code.
bool isQuery(std::string_view code);

// The pressure line for the number at the start of a trace, or nothing when
// the reading does not fit the 16-bit arithmetic.
std::optional<std::string> pressureLine(std::string_view trace, std::int16_t& pressureValue);

inline constexpr std::string_view kPressureOutOfRange = " Pressure out of range";

}  // namespace projector
