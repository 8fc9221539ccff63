#include "mqtt/Topics.h"

#include <cctype>

namespace mqtt {

namespace {

bool plain(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
}

}  // namespace

std::string Topics::control(std::string_view control) const {
    return base + "/" + std::string(control) + "/set";
}

std::string defaultBase(std::string_view name) {
    std::string level;
    for (const char c : name) {
        const bool kept = plain(c) || (static_cast<unsigned char>(c) >= 0x80);
        if (kept) {
            level += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!level.empty() && level.back() != '-') {
            level += '-';
        }
    }
    while (!level.empty() && level.back() == '-') level.pop_back();
    return "kr60p/" + (level.empty() ? std::string("projector") : level);
}

std::optional<std::string> baseFault(std::string_view base) {
    const std::string shown = "\"" + std::string(base) + "\"";
    if (base.empty()) return "a topic base cannot be empty";
    if (base.find_first_of("+#") != std::string_view::npos) {
        return "a topic base cannot hold the wildcards + and #: " + shown;
    }
    if (base.find('\0') != std::string_view::npos) return "a topic base cannot hold a NUL";
    if (base.front() == '/' || base.back() == '/' || base.find("//") != std::string_view::npos) {
        return "a topic base has no empty level: " + shown;
    }
    if (base.front() == '$') return "topics starting with $ are the broker's: " + shown;
    if (base.size() > 1024) return "a topic base of at most 1024 bytes";
    return std::nullopt;
}

std::string identifierOf(std::string_view base) {
    std::string id;
    for (const char c : base) id += plain(c) ? c : '_';
    return id;
}

Route routeOf(const Topics& topics, std::string_view discoveryPrefix, std::string_view topic) {
    if (!discoveryPrefix.empty() && topic == std::string(discoveryPrefix) + "/status") {
        return {Route::Kind::HomeAssistant, {}};
    }
    if (topic == topics.set()) return {Route::Kind::Set, {}};
    if (topic == topics.command()) return {Route::Kind::Command, {}};
    const std::string prefix = topics.base + "/";
    if (topic.starts_with(prefix) && topic.ends_with("/set")) {
        const std::string_view control =
            topic.substr(prefix.size(), topic.size() - prefix.size() - 4);
        if (!control.empty() && control.find('/') == std::string_view::npos) {
            return {Route::Kind::Control, std::string(control)};
        }
    }
    return {};
}

}  // namespace mqtt
