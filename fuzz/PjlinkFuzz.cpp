// Any bytes from a PJLink client, in any pieces: the conversation answers
// only whole lines (ended by CR, LF or CR LF), each answer one line ended by
// its CR, never more than it was sent lines, and holds no more than one
// line's worth.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "pjlink/Conversation.h"

namespace {

std::string digest(pjlink::Hash hash, std::string_view text) {
    const std::size_t length = hash == pjlink::Hash::Md5 ? 32 : 64;
    std::string hex(text.substr(0, length));
    hex.resize(length, '0');
    return hex;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte: with a password or without, and the size of the pieces.
    const bool password = (data[0] & 1) != 0;
    const std::size_t piece = 1 + (data[0] >> 1);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    pjlink::Conversation conversation(password ? std::optional<std::string>("pw") : std::nullopt,
                                      {"0123abcd", "00112233445566778899aabbccddeeff"}, digest);
    // Lines end at CR, LF, or CR LF (one end).
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        lines += bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ? 1 : 0;
    }
    std::size_t told = 0;
    bool refused = false;
    for (std::size_t at = 0; at < bytes.size() && !refused; at += piece) {
        const auto heard = conversation.hear(std::string_view(bytes).substr(at, piece));
        refused = heard.refused;
        for (const auto& item : heard.items) {
            ++told;
            if (item.request) {
                if (item.request->command.size() != 4 || item.request->parameter.size() > 128) {
                    std::abort();
                }
                continue;
            }
            const std::string& answer = item.answer;
            if (answer.empty() || answer.back() != '\r' || answer.find('\r') != answer.size() - 1 ||
                answer.size() > 16) {
                std::abort();
            }
        }
    }
    if (told > lines) std::abort();
    return 0;
}
