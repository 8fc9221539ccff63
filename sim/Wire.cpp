#include "sim/Wire.h"

#include <termios.h>

#include <chrono>
#include <utility>

namespace sim {

namespace {

constexpr std::pair<unsigned, long> kSpeeds[] = {{B4800, 4800},   {B9600, 9600},
                                                 {B19200, 19200}, {B38400, 38400},
                                                 {B57600, 57600}, {B115200, 115200}};

}  // namespace

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

long baudOf(unsigned speedCode) {
    for (const auto& [code, baud] : kSpeeds) {
        if (code == speedCode) return baud;
    }
    return 0;
}

unsigned speedCodeOf(long baud) {
    for (const auto& [code, speed] : kSpeeds) {
        if (speed == baud) return code;
    }
    return B19200;
}

}  // namespace sim
