// Any bytes from a web client, in any pieces: a request's bounds hold once
// they are passed, and what is read of its credentials is read without
// going beyond them.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/Credentials.h"
#include "web/RequestBounds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    web::RequestBounds bounds;
    auto verdict = web::RequestBounds::Verdict::Within;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const auto now = bounds.take(bytes.substr(at, piece));
        if (verdict != web::RequestBounds::Verdict::Within && now != verdict) std::abort();
        verdict = now;
    }
    if (const auto decoded = web::base64Decoded(bytes); decoded && decoded->size() > bytes.size()) {
        std::abort();
    }
    if (const auto password = web::basicPassword(bytes);
        password && password->size() > bytes.size()) {
        std::abort();
    }
    if (const auto cookie = web::cookieValue(bytes, "kr60p-session");
        cookie && cookie->size() > bytes.size()) {
        std::abort();
    }
    if (const auto field = web::formField(bytes, "password");
        field && field->size() > bytes.size()) {
        std::abort();
    }
    return 0;
}
