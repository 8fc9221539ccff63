#include "vocabulary/Decoder.h"

#include <array>
#include <span>

#include "vocabulary/NumberReading.h"
#include "vocabulary/Trace.h"

namespace projector {

namespace {

struct Row {
    std::string_view key;
    std::string_view caption;
    std::string_view name;  // for programs: a stable key, lower-case words and hyphens
};

// clang-format off
constexpr std::array<Row, 13> kStatus{{
    {" 0 0", " Power ON", "on"},
    {" 8 0", " Stand by", "standby"},
    {" 4 0", " Count down", "warming-up"},
    {" 2 0", " Cooling down", "cooling-down"},
    {" 1 0", " Power Fail", "power-fail"},
    {" 0 8", " Temperature Warning", "temperature-warning"},
    {" 0 2", " NO Key input ", "no-key-input"},
    {" 0 4", " Lamp OFF by PWR Management", "lamp-off-by-power-management"},
    {" 2 8", " Temperature Warning & cooling down", "cooling-down-temperature-warning"},
    {" 2 4", "Cooling down  PWR Management", "cooling-down-power-management"},
    {" 8 8", " Temperature Warning and recoverd", "standby-temperature-warning-recovered"},
    {" 2 1", " Cooling down (All Lamp FAIL)", "cooling-down-all-lamps-failed"},
    {" 8 1", " Cooling down & sutandby (All Lamp FAIL)", "standby-all-lamps-failed"},
}};

constexpr std::array<Row, 4> kInput{{
    {" 1", " Computer 1", "computer-1"},
    {" 2", " Computer 2", "computer-2"},
    {" 3", " Video", "video"},
    {" 4", " Input mode 4", "input-4"},
}};

constexpr std::array<Row, 4> kReversal{{
    {" 1 1", " Normally", "normal"},
    {" 1 0", " Top/Bottom reversal", "top-bottom"},
    {" 0 1", " Left/Right reversal", "left-right"},
    {" 0 0", " Top/Bottom , Left/Right reversal", "top-bottom-left-right"},
}};

constexpr std::array<Row, 6> kMute{{
    {" 0 0", " Video & Audio mute OFF", "off"},
    {" 0 1", " Video mute ON", "video"},
    {" 0 2", " Audio mute ON", "audio"},
    {" 0 3", " Video & Audio mute ON", "video-audio"},
    {" 8 0", " No signal", "no-signal"},
    {" F F", " Stand by", "standby"},
}};

constexpr std::array<Row, 8> kLampMode{{
    {" 0 0", " All OFF : 2 Lamp mode", "two-lamps-all-off"},
    {" 0 1", " No1 ON  : 2 Lamp mode", "two-lamps-no1-on"},
    {" 0 2", " No2 ON  : 2 Lamp mode", "two-lamps-no2-on"},
    {" 0 3", " No1,2 ON  : 2 Lamp mode", "two-lamps-both-on"},
    {" 1 0", " All OFF : 1 Lamp mode(No1 USE)", "one-lamp-no1-off"},
    {" 1 1", " No1 ON  : 1 Lamp mode(No1 USE)", "one-lamp-no1-on"},
    {" 2 0", " All OFF : 1 Lamp mode(No2 USE)", "one-lamp-no2-off"},
    {" 2 2", " No2 ON  : 1 Lamp mode(No2 USE)", "one-lamp-no2-on"},
}};
// clang-format on

enum class Rule { Table, LampTime, Temperature, Verbatim, Pressure };

struct Query {
    std::string_view code;
    Rule rule;
    Field field;  // what a program calls the reading
    std::size_t keyLength = 0;
    std::span<const Row> rows = {};
};

// Tested in this order.
const std::array<Query, 9> kQueries{{
    {"CR0", Rule::Table, Field::State, 4, kStatus},
    {"CR1", Rule::Table, Field::Input, 2, kInput},
    {"CR4", Rule::Table, Field::Reversal, 4, kReversal},
    {"CR3", Rule::LampTime, Field::Hours},
    {"CR6", Rule::Temperature, Field::Temperatures},
    {"CRA", Rule::Table, Field::Mute, 4, kMute},
    {"CR9", Rule::Verbatim, Field::Version},
    {"CR PRESSURE", Rule::Pressure, Field::Pressure},
    {"CR7", Rule::Table, Field::Lamps, 4, kLampMode},
}};

// Up to n characters from position p, counting from 1.
std::string_view mid(std::string_view text, std::size_t p, std::size_t n) {
    if (p > text.size()) return {};
    return text.substr(p - 1, n);
}

std::string_view left(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

const Row* rowOf(const Query& query, std::string_view trace) {
    const auto key = left(trace, query.keyLength);
    for (const Row& row : query.rows) {
        if (row.key == key) return &row;
    }
    return nullptr;
}

std::optional<std::string> lookUp(const Query& query, std::string_view trace) {
    const Row* row = rowOf(query, trace);
    return row ? std::optional<std::string>(row->caption) : std::nullopt;
}

// A field as a number: blanks around it, a sign, digits with leading zeros
// and a decimal point are all part of one; nothing when it holds anything
// else, or no digit.
std::optional<double> numberIn(std::string_view field) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    std::string_view digits = field;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    if (digits.find_first_not_of("0123456789.") != std::string_view::npos ||
        digits.find_first_of("0123456789") == std::string_view::npos ||
        digits.find('.') != digits.rfind('.')) {
        return std::nullopt;
    }
    return readNumber(field);
}

const Query* queryOf(std::string_view code) {
    for (const Query& query : kQueries) {
        if (query.code == code) return &query;
    }
    return nullptr;
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

std::optional<Reading> readReply(std::string_view code, std::string_view reply,
                                 std::int16_t& pressureValue) {
    const Query* query = queryOf(code);
    const auto end = reply.find('\r');
    if (!query || end == std::string_view::npos) return std::nullopt;
    const std::string_view line = reply.substr(0, end);
    Reading reading{query->field, {}, {}};
    switch (query->rule) {
        case Rule::Table: {
            const Row* row = rowOf(*query, traceOf(reply));
            if (!row) return std::nullopt;
            reading.text = row->name;
            return reading;
        }
        case Rule::LampTime:
            reading.numbers = {numberIn(line)};
            return reading;
        case Rule::Temperature:
            // Characters 1-5, 8-11 and 13-17, as the window shows them.
            for (const auto& [from, count] : {std::pair{0u, 5u}, {7u, 4u}, {12u, 5u}}) {
                reading.numbers.push_back(
                    numberIn(line.size() > from ? line.substr(from, count) : ""));
            }
            return reading;
        case Rule::Verbatim:
            reading.text = line;
            return reading;
        case Rule::Pressure:
            if (pressureLine(traceOf(reply), pressureValue)) {
                reading.numbers = {static_cast<double>(pressureValue)};
            } else {
                reading.numbers = {std::nullopt};
            }
            return reading;
    }
    return std::nullopt;
}

Decoded decodeAnswer(std::string_view code, std::string_view reply) {
    const std::string trace = traceOf(reply);
    const std::string sendLine = std::string(code) + '\r';
    std::int16_t pressure = 0;
    Decoded decoded;
    decoded.words = decodeReply(sendLine, "", trace, pressure);
    decoded.reading = readReply(code, reply, pressure);
    return decoded;
}

std::string_view fieldName(Field field) {
    switch (field) {
        case Field::State:
            return "state";
        case Field::Input:
            return "input";
        case Field::Reversal:
            return "reversal";
        case Field::Hours:
            return "hours";
        case Field::Temperatures:
            return "temperatures";
        case Field::Mute:
            return "mute";
        case Field::Version:
            return "version";
        case Field::Pressure:
            return "hPa";
        case Field::Lamps:
            break;
    }
    return "lamps";
}

std::string_view codeOfField(Field field) {
    for (const Query& query : kQueries) {
        if (query.field == field) return query.code;
    }
    return {};
}

std::vector<std::string_view> namesOf(Field field) {
    std::vector<std::string_view> names;
    for (const Query& query : kQueries) {
        if (query.field != field) continue;
        for (const Row& row : query.rows) names.push_back(row.name);
    }
    return names;
}

bool isQuery(std::string_view code) {
    return queryOf(code) != nullptr;
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
