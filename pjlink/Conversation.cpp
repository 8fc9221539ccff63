#include "pjlink/Conversation.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace pjlink {

namespace {

// The first line carries the digest before its request.
constexpr std::size_t kLongestLine = kDigestLength + kLongestRequest;

bool sameDigest(std::string_view given, std::string_view expected) {
    return given.size() == expected.size() &&
           std::equal(given.begin(), given.end(), expected.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

Conversation::Conversation(const std::optional<std::string>& password, std::string random,
                           const Digest& digest)
    : random_(std::move(random)) {
    if (password) expected_ = digest(random_ + *password);
    authenticated_ = !expected_;
}

std::string Conversation::greeting() const {
    return expected_ ? "PJLINK 1 " + random_ + "\r" : std::string("PJLINK 0\r");
}

Conversation::Heard Conversation::hear(std::string_view bytes) {
    Heard heard;
    for (const char c : bytes) {
        if (refused_) break;
        if (c == '\r') {
            lineEnded(heard);
        } else if (c == '\n' || c == '\0') {
            // Some clients end lines CR LF; a NUL is no part of any request.
        } else if (line_.size() < kLongestLine) {
            line_ += c;
        } else {
            overlong_ = true;
        }
    }
    heard.refused = refused_;
    return heard;
}

void Conversation::lineEnded(Heard& heard) {
    if (line_.empty() && !overlong_) return;  // a blank line asks nothing
    std::string_view line = line_;
    if (!authenticated(line)) {
        refused_ = true;
        heard.items.push_back({std::nullopt, "PJLINK ERRA\r"});
    } else {
        const Reading reading = overlong_ || line.size() + 1 > kLongestRequest
                                    ? readOverlong(line.substr(0, 6))
                                    : readRequest(line);
        if (reading.request) {
            heard.items.push_back({reading.request, {}});
        } else if (reading.answer) {
            heard.items.push_back({std::nullopt, *reading.answer});
        }
    }
    line_.clear();
    overlong_ = false;
}

bool Conversation::authenticated(std::string_view& line) {
    if (!expected_) return true;
    const bool digestFirst = line.size() >= kDigestLength && line.substr(kDigestLength, 1) == "%";
    if (authenticated_) {
        if (digestFirst && sameDigest(line.substr(0, kDigestLength), *expected_)) {
            line.remove_prefix(kDigestLength);
        }
        return true;
    }
    if (!digestFirst || !sameDigest(line.substr(0, kDigestLength), *expected_)) return false;
    line.remove_prefix(kDigestLength);
    authenticated_ = true;
    return true;
}

}  // namespace pjlink
