#include "vocabulary/NumberReading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace projector {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Far beyond a double's range either way (10^400 overflows, 10^-400
// underflows).
constexpr long long kFarOut = 1000;

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

    // The sign, the digits without their leading zeros, and the power of ten
    // of the first digit kept: the value is 0.DIGITS x 10^scale. The reading
    // is then decided by that value, however many digits the text has.
    std::size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::string digits;
    long long scale = 0;
    std::size_t mantissaDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits) {
        if (digits.empty() && s[i] == '0') continue;
        digits += s[i];
        ++scale;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits) {
            if (digits.empty() && s[i] == '0') {
                --scale;
                continue;
            }
            digits += s[i];
        }
    }
    if (mantissaDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'D')) {
        std::size_t j = i + 1;
        const bool down = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        // Saturates beyond anything the digits themselves could make up.
        const long long ceiling = kFarOut + static_cast<long long>(s.size());
        long long exponent = 0;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            exponent = std::min(exponent * 10 + (s[j] - '0'), ceiling);
        }
        scale += down ? -exponent : exponent;
    }
    const double sign = negative ? -1.0 : 1.0;
    if (digits.empty() || scale < -kFarOut / 2) return sign * 0.0;
    if (scale > kFarOut / 2) return sign * std::numeric_limits<double>::infinity();

    // from_chars is exact for any number of digits and free of the locale.
    const std::string number = "0." + digits + "e" + std::to_string(scale);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return sign * value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) rounded = 2.0 * std::round(value / 2.0);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace projector
