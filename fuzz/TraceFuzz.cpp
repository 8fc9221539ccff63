// Any bytes: the trace is printable ASCII of the expected length.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vocabulary/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string trace = projector::traceOf(bytes);
    std::size_t expected = 1;
    for (const char c : bytes)
        expected += c == '\x06' ? 4 : c == '\x14' ? 1 : c == '\r' || c == '\n' ? 3 : 2;
    if (trace.size() != expected || trace[0] != ' ') std::abort();
    for (const char c : trace) {
        if (c < ' ' || c > '~') std::abort();
    }
    return 0;
}
