#include "pjlink/Protocol.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace pjlink {

namespace {

constexpr std::array<std::string_view, 3> kPower{"1", "0", "?"};
constexpr std::array<std::string_view, 4> kInput{"11", "12", "21", "?"};
constexpr std::array<std::string_view, 7> kMute{"10", "11", "20", "21", "30", "31", "?"};
constexpr std::array<std::string_view, 1> kQuery{"?"};

constexpr std::array kSyntax = std::to_array<CommandSyntax>({
    {"POWR", kPower},
    {"INPT", kInput},
    {"AVMT", kMute},
    {"ERST", kQuery},
    {"LAMP", kQuery},
    {"INST", kQuery},
    {"NAME", kQuery},
    {"INF1", kQuery},
    {"INF2", kQuery},
    {"INFO", kQuery},
    {"CLSS", kQuery},
});

const CommandSyntax* syntaxOf(std::string_view command) {
    for (const CommandSyntax& syntax : kSyntax) {
        if (syntax.command == command) return &syntax;
    }
    return nullptr;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

// "%", a class digit and up to four printable characters: the part of a
// line an error answer repeats.
std::optional<Request> headOf(std::string_view line) {
    if (line.size() < 2 || line[0] != '%' || line[1] < '1' || line[1] > '9') return std::nullopt;
    const std::string_view command = line.substr(2, 4);
    if (!printable(command)) return std::nullopt;
    Request request;
    request.version = line[1];
    std::transform(command.begin(), command.end(), std::back_inserter(request.command), upper);
    return request;
}

Reading refused(const Request& request, Error error) {
    return {std::nullopt, answerLine(request, error)};
}

}  // namespace

std::string_view errorText(Error error) {
    switch (error) {
        case Error::Undefined:
            return "ERR1";
        case Error::OutOfParameter:
            return "ERR2";
        case Error::UnavailableTime:
            return "ERR3";
        case Error::ProjectorFailure:
            break;
    }
    return "ERR4";
}

Reading readRequest(std::string_view line) {
    std::optional<Request> head = headOf(line);
    if (!head) return {};
    Request request = std::move(*head);
    const CommandSyntax* syntax = syntaxOf(request.command);
    // A Class 2 command is one this Class 1 projector does not define.
    if (request.version != '1' || !syntax) return refused(request, Error::Undefined);
    if (line.size() < 7 || line[6] != ' ') return refused(request, Error::OutOfParameter);
    request.parameter = line.substr(7);
    const auto& taken = syntax->parameters;
    if (std::find(taken.begin(), taken.end(), request.parameter) == taken.end()) {
        return refused(request, Error::OutOfParameter);
    }
    return {std::move(request), std::nullopt};
}

Reading readOverlong(std::string_view head) {
    std::optional<Request> request = headOf(head);
    if (!request) return {};
    const bool known = request->version == '1' && syntaxOf(request->command);
    return refused(*request, known ? Error::OutOfParameter : Error::Undefined);
}

std::string answerLine(const Request& request, std::string_view text) {
    std::string line = "%";
    line += request.version;
    line += request.command;
    line += '=';
    line += text;
    line += '\r';
    return line;
}

std::string answerLine(const Request& request, Error error) {
    return answerLine(request, errorText(error));
}

std::span<const CommandSyntax> commandSyntax() {
    return kSyntax;
}

}  // namespace pjlink
