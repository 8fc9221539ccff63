#include "app/ProgramStart.h"

#include <stdexcept>

#include "log/TrafficLog.h"

namespace app {

int exitWith(const std::string& text, int status) {
    std::fputs(text.c_str(), status == 0 ? stdout : stderr);
    return status;
}

LogOpening openTrafficLog(const std::optional<std::string>& path) {
    if (!path) return {};
    try {
        return {trafficlog::openLog(*path), std::nullopt};
    } catch (const std::runtime_error& error) {
        return {nullptr, error.what()};
    }
}

}  // namespace app
