#include "link/NumberReading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace projector {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

double readInteger(std::string_view digits, int base) {
    double value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit >= base) break;
        value = value * base + digit;
    }
    return value;
}

}  // namespace

double readNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }

    if (s.size() >= 2 && s[0] == '&' && s[1] == 'H') return readInteger(s.substr(2), 16);
    if (s.size() >= 2 && s[0] == '&' && s[1] == 'O') return readInteger(s.substr(2), 8);

    // Gather the accepted characters into a form from_chars reads, which is
    // free of the locale's decimal point.
    std::string number;
    std::size_t i = 0;
    const auto takeDigits = [&] {
        std::size_t count = 0;
        for (; i < s.size() && isDigit(s[i]); ++i, ++count) number += s[i];
        return count;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') number += '-';
        ++i;
    }
    std::size_t mantissaDigits = takeDigits();
    if (i < s.size() && s[i] == '.') {
        number += '.';
        ++i;
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        const std::size_t firstDigit = j;
        while (j < s.size() && isDigit(s[j])) exponent += s[j++];
        if (j > firstDigit) number += exponent;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = number.find("e-") != std::string::npos;
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return number[0] == '-' ? -magnitude : magnitude;
    }
    return value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) rounded = 2.0 * std::round(value / 2.0);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace projector
