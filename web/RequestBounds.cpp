#include "web/RequestBounds.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace web {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

RequestBounds::Verdict RequestBounds::take(std::string_view bytes) {
    static constexpr std::string_view kEnd = "\r\n\r\n";
    while (!bytes.empty() && verdict_ == Verdict::Within) {
        if (!inHead_) {
            const std::size_t body = std::min(bodyLeft_, bytes.size());
            bodyLeft_ -= body;
            bytes.remove_prefix(body);
            if (bodyLeft_ == 0) {
                inHead_ = true;
                headBytes_ = 0;
                matched_ = 0;
            }
            continue;
        }
        const char c = bytes.front();
        bytes.remove_prefix(1);
        if (headBytes_ == kMostHeadBytes) {
            verdict_ = Verdict::HeadTooLarge;
            break;
        }
        head_[headBytes_++] = c;
        matched_ = c == kEnd[matched_] ? matched_ + 1 : (c == '\r' ? 1 : 0);
        if (matched_ == kEnd.size()) headEnded();
    }
    return verdict_;
}

void RequestBounds::headEnded() {
    const std::string_view head(head_, headBytes_);
    std::size_t length = 0;
    for (std::size_t at = head.find('\n'); at != std::string_view::npos;) {
        const std::size_t end = head.find('\n', at + 1);
        const std::string_view line = head.substr(
            at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        at = end;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (sameName(name, "Transfer-Encoding")) {
            verdict_ = Verdict::BodyTooLarge;  // only a body of a length said ahead
            return;
        }
        if (sameName(name, "Content-Length")) {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), length);
            if (error != std::errc() || end != value.data() + value.size() ||
                length > kMostBodyBytes) {
                verdict_ = Verdict::BodyTooLarge;
                return;
            }
        }
    }
    bodyLeft_ = length;
    inHead_ = length == 0;
    headBytes_ = 0;
    matched_ = 0;
}

}  // namespace web
