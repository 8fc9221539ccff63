#pragma once
// One client's connection on bytes: the greeting, the password's digest
// before the first command (MD5, or SHA-256 at the higher security level a
// client asks for with "PJLINK 2") and, where a client gives it again, before
// a later one; lines cut at CR, LF or CR LF and bounded in length.
// What a client sends becomes, in order, requests to answer and answers
// given at once; nothing here waits or touches the projector.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pjlink/Protocol.h"

namespace pjlink {

enum class Hash { Md5, Sha256 };

class Conversation {
  public:
    // A digest of a text, in lower-case hexadecimal.
    using Digest = std::function<std::string(Hash hash, std::string_view text)>;
    // Fresh for each connection: the greeting's 8 hexadecimal digits, and
    // the 32 of the higher security level.
    struct Challenge {
        std::string random;
        std::string secureRandom;
    };

    // password: none for an open projector.
    Conversation(const std::optional<std::string>& password, Challenge challenge, Digest digest);

    // "PJLINK 0\r", or "PJLINK 1 <random>\r" when a password is asked for.
    std::string greeting() const;

    // One item per line heard, in order: a request to answer, or its answer.
    struct Item {
        std::optional<Request> request;
        std::string answer;  // when there is no request
    };
    struct Heard {
        std::vector<Item> items;
        // The password was wrong or missing: "PJLINK ERRA\r" is the last
        // thing said, and the connection closes; why says what was refused.
        bool refused = false;
        std::string why;
    };
    Heard hear(std::string_view bytes);
    // Whether the password has been given (or none is asked for).
    bool authenticated() const { return authenticated_; }

  private:
    void lineEnded(Heard& heard);
    // The digest before a line: checked on the first, taken off a later one
    // that repeats it. False when the client is refused.
    bool authenticate(std::string_view& line);
    // The length of a right digest at the start of the line, or 0.
    std::size_t digestBefore(std::string_view line) const;
    // Whether the line starts with what can only be a digest: a digest's
    // length of anything but %, then the request's %.
    bool digestShaped(std::string_view line) const;

    std::optional<std::string> password_;
    Challenge challenge_;
    Digest digest_;
    bool secure_ = false;  // the client asked for the higher security level
    bool authenticated_ = false;
    bool refused_ = false;
    std::string why_;
    std::string line_;
    bool afterCr_ = false;   // the last byte ended a line with CR: an LF now ends nothing
    bool overlong_ = false;  // the line so far is too long; only its head is kept
};

}  // namespace pjlink
