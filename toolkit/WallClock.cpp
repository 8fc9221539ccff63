#include "toolkit/WallClock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace toolkit {

std::string wallClock() {
    return wallClock(std::chrono::system_clock::now());
}

std::string wallClock(std::chrono::system_clock::time_point now) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03lld", static_cast<long long>(millis));
    return text;
}

}  // namespace toolkit
