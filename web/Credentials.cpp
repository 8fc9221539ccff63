#include "web/Credentials.h"

namespace web {

namespace {

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> base64Decoded(std::string_view text) {
    while (!text.empty() && text.back() == '=') text.remove_suffix(1);
    if (text.size() % 4 == 1) return std::nullopt;
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        const int value = base64Value(c);
        if (value < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFFu);
        }
    }
    return out;
}

std::optional<std::string> basicPassword(std::string_view authorization) {
    authorization = trimmed(authorization);
    constexpr std::string_view kScheme = "Basic ";
    if (authorization.size() <= kScheme.size()) return std::nullopt;
    for (std::size_t i = 0; i < kScheme.size() - 1; ++i) {
        if ((authorization[i] | 0x20) != (kScheme[i] | 0x20)) return std::nullopt;
    }
    if (authorization[kScheme.size() - 1] != ' ') return std::nullopt;
    const auto decoded = base64Decoded(trimmed(authorization.substr(kScheme.size())));
    if (!decoded) return std::nullopt;
    const auto colon = decoded->find(':');
    if (colon == std::string::npos) return std::nullopt;
    return decoded->substr(colon + 1);
}

std::optional<std::string> cookieValue(std::string_view header, std::string_view name) {
    while (!header.empty()) {
        const auto end = header.find(';');
        const std::string_view pair = trimmed(header.substr(0, end));
        const auto equals = pair.find('=');
        if (equals != std::string_view::npos && trimmed(pair.substr(0, equals)) == name) {
            return std::string(trimmed(pair.substr(equals + 1)));
        }
        if (end == std::string_view::npos) break;
        header.remove_prefix(end + 1);
    }
    return std::nullopt;
}

std::optional<std::string> formField(std::string_view body, std::string_view name) {
    while (!body.empty()) {
        const auto end = body.find('&');
        const std::string_view pair = body.substr(0, end);
        const auto equals = pair.find('=');
        const auto key = percentDecoded(pair.substr(0, equals));
        if (key && *key == name) {
            return equals == std::string_view::npos ? std::optional<std::string>(std::string())
                                                    : percentDecoded(pair.substr(equals + 1));
        }
        if (end == std::string_view::npos) break;
        body.remove_prefix(end + 1);
    }
    return std::nullopt;
}

bool sameSecret(std::string_view a, std::string_view b) {
    unsigned difference = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |=
            static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(i < b.size() ? b[i] : 0);
    }
    return difference == 0;
}

}  // namespace web
