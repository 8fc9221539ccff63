#include "link/DeviceChoice.h"

#include <vector>

namespace projector {

DeviceChoice::DeviceChoice(toolkit::Settings& settings, const toolkit::SerialDevices& devices,
                           std::map<int, std::string> commandLine)
    : settings_(settings), devices_(devices), commandLine_(std::move(commandLine)) {}

std::string DeviceChoice::key(int number) {
    return "devices/COM" + std::to_string(number);
}

std::optional<DeviceChoice::Device> DeviceChoice::chosenFor(int number) const {
    if (const auto given = commandLine_.find(number); given != commandLine_.end()) {
        return Device{given->second, Source::CommandLine};
    }
    const auto unkept = unkept_.find(number);
    if (unkept != unkept_.end()) {
        if (unkept->second) return Device{*unkept->second, Source::Mapped};
        return std::nullopt;  // "Default", not kept
    }
    if (const auto kept = settings_.value(key(number)); kept && !kept->empty()) {
        return Device{*kept, Source::Mapped};
    }
    return std::nullopt;
}

DeviceChoice::Device DeviceChoice::deviceFor(int number) const {
    if (auto chosen = chosenFor(number)) return *chosen;
    return defaultFor(number);
}

DeviceChoice::Device DeviceChoice::defaultFor(int number) const {
    const std::vector<std::string> adapters = devices_.adapters();
    if (number >= 1 && static_cast<std::size_t>(number) <= adapters.size()) {
        return {adapters[static_cast<std::size_t>(number) - 1], Source::Adapter};
    }
    return {devices_.fallback(number), Source::BuiltIn};
}

bool DeviceChoice::map(int number, const std::string& path) {
    commandLine_.erase(number);
    unkept_.erase(number);
    if (settings_.setValue(key(number), path)) return true;
    unkept_[number] = path;
    return false;
}

bool DeviceChoice::reset(int number) {
    commandLine_.erase(number);
    unkept_.erase(number);
    if (settings_.remove(key(number))) return true;
    unkept_[number] = std::nullopt;
    return false;
}

}  // namespace projector
