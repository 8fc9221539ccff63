#include "vocabulary/Decoder.h"

#include <algorithm>
#include <array>
#include <span>

#include "vocabulary/NumberReading.h"

namespace projector {

namespace {

struct Row {
    std::string_view key;
    std::string_view caption;
};

// clang-format off
constexpr std::array<Row, 13> kStatus{{
    {" 0 0", " Power ON"},
    {" 8 0", " Stand by"},
    {" 4 0", " Count down"},
    {" 2 0", " Cooling down"},
    {" 1 0", " Power Fail"},
    {" 0 8", " Temperature Warning"},
    {" 0 2", " NO Key input "},
    {" 0 4", " Lamp OFF by PWR Management"},
    {" 2 8", " Temperature Warning & cooling down"},
    {" 2 4", "Cooling down  PWR Management"},
    {" 8 8", " Temperature Warning and recoverd"},
    {" 2 1", " Cooling down (All Lamp FAIL)"},
    {" 8 1", " Cooling down & sutandby (All Lamp FAIL)"},
}};

constexpr std::array<Row, 4> kInput{{
    {" 1", " Computer 1"},
    {" 2", " Computer 2"},
    {" 3", " Video"},
    {" 4", " Input mode 4"},
}};

constexpr std::array<Row, 4> kReversal{{
    {" 1 1", " Normally"},
    {" 1 0", " Top/Bottom reversal"},
    {" 0 1", " Left/Right reversal"},
    {" 0 0", " Top/Bottom , Left/Right reversal"},
}};

constexpr std::array<Row, 6> kMute{{
    {" 0 0", " Video & Audio mute OFF"},
    {" 0 1", " Video mute ON"},
    {" 0 2", " Audio mute ON"},
    {" 0 3", " Video & Audio mute ON"},
    {" 8 0", " No signal"},
    {" F F", " Stand by"},
}};

constexpr std::array<Row, 8> kLampMode{{
    {" 0 0", " All OFF : 2 Lamp mode"},
    {" 0 1", " No1 ON  : 2 Lamp mode"},
    {" 0 2", " No2 ON  : 2 Lamp mode"},
    {" 0 3", " No1,2 ON  : 2 Lamp mode"},
    {" 1 0", " All OFF : 1 Lamp mode(No1 USE)"},
    {" 1 1", " No1 ON  : 1 Lamp mode(No1 USE)"},
    {" 2 0", " All OFF : 1 Lamp mode(No2 USE)"},
    {" 2 2", " No2 ON  : 1 Lamp mode(No2 USE)"},
}};
// clang-format on

enum class Rule { Table, LampTime, Temperature, Verbatim, Pressure };

struct Query {
    std::string_view code;
    Rule rule;
    std::size_t keyLength = 0;
    std::span<const Row> rows = {};
};

// Tested in this order.
const std::array<Query, 9> kQueries{{
    {"CR0", Rule::Table, 4, kStatus},
    {"CR1", Rule::Table, 2, kInput},
    {"CR4", Rule::Table, 4, kReversal},
    {"CR3", Rule::LampTime},
    {"CR6", Rule::Temperature},
    {"CRA", Rule::Table, 4, kMute},
    {"CR9", Rule::Verbatim},
    {"CR PRESSURE", Rule::Pressure},
    {"CR7", Rule::Table, 4, kLampMode},
}};

// Up to n characters from position p, counting from 1.
std::string_view mid(std::string_view text, std::size_t p, std::size_t n) {
    if (p > text.size()) return {};
    return text.substr(p - 1, n);
}

std::string_view left(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

std::optional<std::string> lookUp(const Query& query, std::string_view trace) {
    const auto key = left(trace, query.keyLength);
    for (const Row& row : query.rows) {
        if (row.key == key) return std::string(row.caption);
    }
    return std::nullopt;
}

std::string temperatureLine(std::string_view trace) {
    std::string line = "  S1=";
    line += left(trace, 10);
    line += " C  ,   S2= ";
    line += mid(trace, 15, 8);
    line += " C , S3=";
    line += mid(trace, 25, 10);
    line += " C";
    return line;
}

bool isQueryLine(std::string_view sendLine, std::string_view prefix, std::string_view code) {
    return sendLine.size() == prefix.size() + code.size() + 1 && sendLine.starts_with(prefix) &&
           sendLine.substr(prefix.size(), code.size()) == code && sendLine.back() == '\r';
}

}  // namespace

bool isQuery(std::string_view code) {
    return std::any_of(kQueries.begin(), kQueries.end(),
                       [code](const Query& query) { return query.code == code; });
}

std::optional<std::string> pressureLine(std::string_view trace, std::int16_t& pressureValue) {
    const auto reading = roundToInt16(readNumber(trace));
    if (!reading) return std::nullopt;
    const int product = *reading * 5;
    if (product < -32768 || product > 32767) return std::nullopt;
    const auto pressure = roundToInt16((product / 1024.0 - 0.204) / 0.00459 + 150);
    if (!pressure) return std::nullopt;
    pressureValue = *pressure;
    return std::to_string(pressureValue) + " hPa";
}

std::optional<std::string> decodeReply(std::string_view sendLine, std::string_view commandPrefix,
                                       std::string_view trace, std::int16_t& pressureValue) {
    for (const Query& query : kQueries) {
        if (!isQueryLine(sendLine, commandPrefix, query.code)) continue;
        switch (query.rule) {
            case Rule::Table:
                return lookUp(query, trace);
            case Rule::LampTime:
                return std::string(left(trace, 38)) + " Hour Use";
            case Rule::Temperature:
                return temperatureLine(trace);
            case Rule::Verbatim:
                return std::string(trace);
            case Rule::Pressure: {
                auto line = pressureLine(trace, pressureValue);
                return line ? line : std::string(kPressureOutOfRange);
            }
        }
    }
    return std::nullopt;
}

}  // namespace projector
