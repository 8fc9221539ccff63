// Any last line sent and any bytes received: the decoder ends with printable
// text or nothing, and only the query lines decode.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vocabulary/Decoder.h"
#include "vocabulary/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::array<std::string, 9> kQueries{"CR0", "CR1", "CR4",         "CR3", "CR6",
                                                     "CRA", "CR9", "CR PRESSURE", "CR7"};
    // The first byte picks a query line, or takes the next bytes up to a
    // zero byte as the line itself.
    std::string sendLine;
    std::size_t at = 1;
    if (data[0] < kQueries.size() * 16) {
        sendLine = kQueries[data[0] % kQueries.size()] + '\r';
    } else {
        for (; at < size && data[at] != 0; ++at) sendLine += static_cast<char>(data[at]);
        ++at;
    }
    const std::string received(reinterpret_cast<const char*>(data) + std::min(at, size),
                               size - std::min(at, size));
    std::int16_t pressure = static_cast<std::int16_t>(size);
    const std::int16_t before = pressure;
    const auto caption =
        projector::decodeReply(sendLine, "", projector::traceOf(received), pressure);

    bool isQuery = false;
    for (const std::string& query : kQueries) isQuery = isQuery || sendLine == query + '\r';
    if (caption && !isQuery) std::abort();
    if (caption) {
        for (const char c : *caption) {
            if (c < ' ' || c > '~') std::abort();
        }
    }
    if (sendLine != "CR PRESSURE\r" && pressure != before) std::abort();
    return 0;
}
