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
constexpr std::array<std::string_view, 3> kInputName{"?11", "?12", "?21"};
constexpr std::array<std::string_view, 2> kStep{"1", "0"};
constexpr std::array<std::string_view, 3> kSwitch{"1", "0", "?"};

// A KR60P has no microphone (MVOL): a Class 2 command it does not define.
constexpr std::array kSyntax = std::to_array<CommandSyntax>({
    {'1', "POWR", kPower}, {'1', "INPT", kInput}, {'1', "AVMT", kMute},   {'1', "ERST", kQuery},
    {'1', "LAMP", kQuery}, {'1', "INST", kQuery}, {'1', "NAME", kQuery},  {'1', "INF1", kQuery},
    {'1', "INF2", kQuery}, {'1', "INFO", kQuery}, {'1', "CLSS", kQuery},  {'2', "INPT", kInput},
    {'2', "INST", kQuery}, {'2', "SNUM", kQuery}, {'2', "SVER", kQuery},  {'2', "INNM", kInputName},
    {'2', "IRES", kQuery}, {'2', "RRES", kQuery}, {'2', "FILT", kQuery},  {'2', "RLMP", kQuery},
    {'2', "RFIL", kQuery}, {'2', "SVOL", kStep},  {'2', "FREZ", kSwitch},
});

const CommandSyntax* syntaxOf(char version, std::string_view command) {
    for (const CommandSyntax& syntax : kSyntax) {
        if (syntax.version == version && syntax.command == command) return &syntax;
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
    const CommandSyntax* syntax = syntaxOf(request.version, request.command);
    if (!syntax) return refused(request, Error::Undefined);
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
    const bool known = syntaxOf(request->version, request->command) != nullptr;
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
