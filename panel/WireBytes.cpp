#include "panel/WireBytes.h"

namespace panel {

std::string wireBytesOf(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC0 ? 2
                                            : 0;
        if (length == 0 || i + length > utf8.size()) {
            bytes += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool wellFormed = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            wellFormed = wellFormed && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return bytes;
}

}  // namespace panel
