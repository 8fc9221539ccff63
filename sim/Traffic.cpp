#include "sim/Traffic.h"

#include <array>
#include <cstdio>

namespace sim {

std::string printable(std::string_view bytes) {
    static constexpr std::array<const char*, 32> kNames{
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    std::string text;
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32) {
            text += '<' + std::string(kNames[code]) + '>';
        } else if (code == 127) {
            text += "<DEL>";
        } else if (code > 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<0x%02X>", code);
            text += hex;
        } else if (c == '<') {
            text += "<<>";
        } else {
            text += c;
        }
    }
    return text;
}

std::vector<std::string> chunksOf(const std::string& bytes, std::size_t size) {
    if (size == 0 || bytes.size() <= size) return {bytes};
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < bytes.size(); at += size)
        chunks.push_back(bytes.substr(at, size));
    return chunks;
}

}  // namespace sim
