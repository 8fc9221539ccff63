#pragma once
// The time of day as the traffic logs write it, so that the panel's and the
// simulator's logs line up: "2026-12-07T14:08:28.342", local time.

#include <chrono>
#include <string>

namespace toolkit {

std::string wallClock(std::chrono::system_clock::time_point at);
std::string wallClock();

}  // namespace toolkit
