#include "pjlink/Protocol.h"

#include <algorithm>
#include <iterator>

namespace pjlink {

namespace {

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
    return {std::nullopt, answerLine(request, toolkit::failure(error))};
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
    request.row = commandRow(request.version, request.command);
    if (!request.row) return refused(request, Error::Undefined);
    if (line.size() < 7 || line[6] != ' ') return refused(request, Error::OutOfParameter);
    request.parameter = line.substr(7);
    const auto& taken = request.row->parameters;
    if (std::find(taken.begin(), taken.end(), request.parameter) == taken.end()) {
        return refused(request, Error::OutOfParameter);
    }
    return {std::move(request), std::nullopt};
}

Reading readOverlong(std::string_view head) {
    std::optional<Request> request = headOf(head);
    if (!request) return {};
    const bool known = commandRow(request->version, request->command) != nullptr;
    return refused(*request, known ? Error::OutOfParameter : Error::Undefined);
}

std::string answerLine(const Request& request, const Response& response) {
    std::string line = "%";
    line += request.version;
    line += request.command;
    line += '=';
    line += response ? std::string_view(*response) : errorText(response.error());
    line += '\r';
    return line;
}

}  // namespace pjlink
