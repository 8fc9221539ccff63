#pragma once
// PJLink Class 1 and 2 on text: a request line read into its command and
// parameter, or refused with the error the standard gives; an answer line
// written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "pjlink/CommandTable.h"
#include "toolkit/Result.h"

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
    char version = '1';               // the class digit after the %
    std::string command;              // four letters, upper-case: "POWR"
    std::string parameter;            // "?", "1", "11", ...
    const CommandRow* row = nullptr;  // how it is answered, once read
    bool query() const { return parameter == "?"; }
};

// What follows the "=" of an answer: a value, or an error.
using Response = toolkit::Result<std::string, Error>;

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

// "%1POWR=1\r", "%1POWR=ERR3\r": the one place an error becomes its text.
std::string answerLine(const Request& request, const Response& response);

}  // namespace pjlink
