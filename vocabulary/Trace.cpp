#include "vocabulary/Trace.h"

namespace projector {

std::string traceOf(std::string_view bytes) {
    std::string trace = " ";
    trace.reserve(1 + 2 * bytes.size());
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code == 6) {
            trace += "ACK ";
        } else if (code == 20) {
            trace += '&';
        } else if (code == 13) {
            trace += "CR ";
        } else if (code == 10) {
            trace += "LF ";
        } else if (code < 32 || code > 'z') {
            trace += "? ";
        } else {
            trace += c;
            trace += ' ';
        }
    }
    return trace;
}

}  // namespace projector
