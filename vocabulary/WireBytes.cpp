#include "vocabulary/WireBytes.h"

#include <array>

namespace projector {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// How many bytes a sequence starting with this byte has: 1 for ASCII; 2 to 4
// for UTF-8; 5 and 6 for the old long forms, which only ever held code points
// above U+10FFFF; 0 for a byte that starts nothing (a stray continuation
// byte, FE, FF).
std::size_t lengthAnnounced(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    if (lead < 0xFC) return 5;
    if (lead < 0xFE) return 6;
    return 0;
}

// The smallest code point each length may hold; less is an overlong form.
constexpr std::array<char32_t, 7> kLeast{0, 0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};

}  // namespace

// A malformed sequence (an overlong form, a surrogate, a code point above
// U+10FFFF, a sequence cut short, a stray continuation byte) goes out as one
// '?', so that no byte reaches the wire that was not typed as that byte.
std::string wireBytesOf(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lengthAnnounced(lead);
        if (length == 1) {
            bytes += static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t code = length == 0 ? 0 : lead & (0x7Fu >> length);
        std::size_t end = i + 1;
        while (end < utf8.size() && end < i + length &&
               isContinuation(static_cast<unsigned char>(utf8[end]))) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[end]) & 0x3Fu);
            ++end;
        }
        const bool wellFormed = length != 0 && end == i + length && code >= kLeast[length] &&
                                code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        bytes += wellFormed && code <= 0xFF ? static_cast<char>(code) : '?';
        i = end;
    }
    return bytes;
}

}  // namespace projector
