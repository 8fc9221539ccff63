#pragma once
// What the gateway's parts write down: the events a person acts on, for the
// journal, and the traffic detail, for --log FILE and --verbose.

#include <functional>
#include <string>

namespace gateway {

struct Journal {
    std::function<void(const std::string& line)> event;
    std::function<void(const std::string& line)> detail;
};

}  // namespace gateway
