#pragma once
// PJLink Class 1 and 2 on text: a request line read into its command and
// parameter, or refused with the error the standard gives; an answer line
// written.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pjlink {

inline constexpr int kPort = 4352;
// "%1" (or "%2"), four letters, a blank, at most 128 bytes of parameter, CR.
inline constexpr std::size_t kLongestParameter = 128;
inline constexpr std::size_t kLongestRequest = 2 + 4 + 1 + kLongestParameter + 1;
// The MD5 digest in hexadecimal before the first command, when a password is set.
inline constexpr std::size_t kDigestLength = 32;
// Or, at the higher security level: the controller's random number (16 bytes)
// and a SHA-256 digest, both in hexadecimal.
inline constexpr std::size_t kSecureDigestLength = 32 + 64;
// A connection with no command for this long is closed.
inline constexpr int kIdleMs = 30'000;

enum class Error {
    Undefined,        // ERR1: no such command
    OutOfParameter,   // ERR2: a parameter the command does not take
    UnavailableTime,  // ERR3: not now (standby, cooling, ...)
    ProjectorFailure  // ERR4: the projector did not answer, or is away
};
std::string_view errorText(Error error);

struct Request {
    char version = '1';     // the class digit after the %
    std::string command;    // four letters, upper-case: "POWR"
    std::string parameter;  // "?", "1", "11", ...
    bool query() const { return parameter == "?"; }
};

// A request line is either a request to answer, or answered at once with an
// error, or (not a PJLink line at all) not answered.
struct Reading {
    std::optional<Request> request;
    std::optional<std::string> answer;  // a whole answer line, CR included
};

// One line from a client, without its CR.
Reading readRequest(std::string_view line);
// The head of a line too long to be a request: answered ERR2 when it names a
// command, else not answered.
Reading readOverlong(std::string_view head);

// "%1POWR=1\r"
std::string answerLine(const Request& request, std::string_view text);
std::string answerLine(const Request& request, Error error);

// The commands this gateway answers, by class, and the parameters each takes.
struct CommandSyntax {
    char version;
    std::string_view command;
    std::span<const std::string_view> parameters;  // "?" for a query
};
std::span<const CommandSyntax> commandSyntax();

}  // namespace pjlink
