#pragma once
// One client's connection on bytes: the greeting, the password's digest
// before the first command, lines cut at CR and bounded in length. What a
// client sends becomes, in order, requests to answer and answers given at
// once; nothing here waits or touches the projector.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pjlink/Protocol.h"

namespace pjlink {

class Conversation {
  public:
    // The MD5 digest of a text, in lower-case hexadecimal.
    using Digest = std::function<std::string(std::string_view)>;

    // password: none for an open projector. random: the greeting's eight
    // characters, fresh for each connection.
    Conversation(const std::optional<std::string>& password, std::string random,
                 const Digest& digest);

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
        // thing said, and the connection closes.
        bool refused = false;
    };
    Heard hear(std::string_view bytes);

  private:
    void lineEnded(Heard& heard);
    // The digest before a line: checked on the first, taken off a later one
    // that repeats it. False when the client is refused.
    bool authenticated(std::string_view& line);

    std::string random_;
    std::optional<std::string> expected_;  // the digest a client must send
    bool authenticated_ = false;
    bool refused_ = false;
    std::string line_;
    bool overlong_ = false;  // the line so far is too long; only its head is kept
};

}  // namespace pjlink
