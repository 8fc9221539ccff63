#include "pjlink/Conversation.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace pjlink {

namespace {

// The first line carries the digest before its request.
constexpr std::size_t kLongestLine = kSecureDigestLength + kLongestRequest;
constexpr std::string_view kSecureLevel = "PJLINK 2";

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The two random numbers, byte by byte exclusive-or'd, in lower-case
// hexadecimal; nothing when either is not hexadecimal of the same length.
std::optional<std::string> mixed(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return std::nullopt;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int x = hexValue(a[i]);
        const int y = hexValue(b[i]);
        if (x < 0 || y < 0) return std::nullopt;
        out += kDigits[x ^ y];
    }
    return out;
}

}  // namespace

Conversation::Conversation(const std::optional<std::string>& password, Challenge challenge,
                           Digest digest)
    : password_(password),
      challenge_(std::move(challenge)),
      digest_(std::move(digest)),
      authenticated_(!password) {}

std::string Conversation::greeting() const {
    return password_ ? "PJLINK 1 " + challenge_.random + "\r" : std::string("PJLINK 0\r");
}

Conversation::Heard Conversation::hear(std::string_view bytes) {
    Heard heard;
    for (const char c : bytes) {
        if (refused_) break;
        const bool afterCr = std::exchange(afterCr_, c == '\r');
        if (c == '\r' || (c == '\n' && !afterCr)) {
            // CR, LF (nc, many scripts) and CR LF each end one line.
            lineEnded(heard);
        } else if (c == '\n' || c == '\0') {
            // A CR LF's LF; a NUL is no part of any request.
        } else if (line_.size() < kLongestLine) {
            line_ += c;
        } else {
            overlong_ = true;
        }
    }
    heard.refused = refused_;
    heard.why = why_;
    return heard;
}

void Conversation::lineEnded(Heard& heard) {
    if (line_.empty() && !overlong_) return;  // a blank line asks nothing
    std::string_view line = line_;
    if (password_ && !authenticated_ && !secure_ && sameText(line, kSecureLevel)) {
        secure_ = true;
        heard.items.push_back({std::nullopt, "PJLINK 2 " + challenge_.secureRandom + "\r"});
    } else if (!authenticate(line)) {
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

bool Conversation::authenticate(std::string_view& line) {
    if (!password_) return true;
    const std::size_t digest = digestBefore(line);
    if (digest == 0 && digestShaped(line)) {
        why_ = authenticated_ ? "a wrong password digest before a later request"
                              : "a wrong password digest";
        return false;
    }
    line.remove_prefix(digest);
    if (authenticated_) return true;  // a later line may repeat the digest, or not
    authenticated_ = digest > 0 && !line.empty();
    if (!authenticated_) {
        why_ = digest > 0 ? "a password digest with no request after it"
                          : "no password digest before the first request";
    }
    return authenticated_;
}

bool Conversation::digestShaped(std::string_view line) const {
    const std::size_t length = secure_ ? kSecureDigestLength : kDigestLength;
    return line.size() > length && line.find('%') == length;
}

std::size_t Conversation::digestBefore(std::string_view line) const {
    const std::size_t length = secure_ ? kSecureDigestLength : kDigestLength;
    if (line.size() < length || line.substr(length, 1) != "%") return 0;
    if (!secure_) {
        const std::string expected = digest_(Hash::Md5, challenge_.random + *password_);
        return sameText(line.substr(0, length), expected) ? length : 0;
    }
    // The controller's random number, then SHA-256 of both numbers mixed and
    // the password.
    const std::string_view controllerRandom = line.substr(0, 32);
    const auto both = mixed(challenge_.secureRandom, controllerRandom);
    if (!both) return 0;
    const std::string expected = digest_(Hash::Sha256, *both + *password_);
    return sameText(line.substr(32, 64), expected) ? length : 0;
}

}  // namespace pjlink
