#include "web/CommandRules.h"

#include <array>

#include "vocabulary/Decoder.h"

namespace web {

namespace {

// clang-format off
constexpr std::array<std::string_view, 2> kPower{"power-on", "power-off"};
constexpr std::array<std::string_view, 5> kInput{
    "input-pc1", "input-pc2", "input-video", "signal-wired", "signal-wireless"};
constexpr std::array<std::string_view, 10> kPictureAndSound{
    "no-show-on", "no-show-off", "mute-on", "mute-off", "freeze-on", "freeze-off",
    "volume-up", "volume-down", "brightness-up", "brightness-down"};
constexpr std::array<std::string_view, 9> kPictureMode{
    "picture-standard", "picture-real", "picture-cinema", "picture-image1", "picture-image2",
    "picture-image3", "picture-image4", "picture-blackboard", "picture-dynamic"};
constexpr std::array<std::string_view, 9> kSignalType{
    "pc1-rgb", "pc1-dvi-pc", "pc1-dvi-av", "pc2-rgb", "pc2-component", "pc2-scart",
    "video-auto", "video-composite", "video-s-video"};
constexpr std::array<std::string_view, 8> kMenu{
    "menu-on", "menu-off", "cursor-up", "cursor-left", "cursor-select", "cursor-right",
    "cursor-down", "display-clear"};
constexpr std::array<std::string_view, 9> kGeometry{
    "keystone-up", "keystone-down", "zoom-in", "zoom-out", "size-regular", "size-wide",
    "auto-image", "image", "presentation-timer"};
constexpr std::array<std::string_view, 3> kKeyLock{"key-lock-none", "key-lock-remote", "key-lock-keys"};
constexpr std::array<std::string_view, 9> kStatus{
    "power-state", "input-mode", "mute-state", "lamp-time", "lamp-mode", "temperatures",
    "pressure", "image-reversal", "software-version"};

constexpr std::array kGroups = std::to_array<Group>({
    {"Power", kPower},
    {"Input", kInput},
    {"Picture and sound", kPictureAndSound},
    {"Picture mode", kPictureMode},
    {"Signal type", kSignalType},
    {"Menu and cursor keys", kMenu},
    {"Geometry", kGeometry},
    {"Key lock", kKeyLock},
    {"Status", kStatus},
});
// clang-format on

bool inStandbyOrCooling(std::string_view state) {
    return state.starts_with("standby") || state.starts_with("cooling-down") ||
           state == "power-fail";
}

}  // namespace

std::span<const Group> commandGroups() {
    return kGroups;
}

std::string_view groupOf(std::string_view command) {
    for (const Group& group : kGroups) {
        for (const std::string_view name : group.commands) {
            if (name == command) return group.title;
        }
    }
    return {};
}

std::optional<std::string> refusal(std::string_view command, std::string_view state) {
    if (groupOf(command) == "Status" || command == "power-off") return std::nullopt;
    if (command == "power-on") {
        if (state.starts_with("cooling-down")) {
            return "The projector is cooling down: it can be powered on again once it has "
                   "cooled, in standby.";
        }
        return std::nullopt;
    }
    if (!inStandbyOrCooling(state)) return std::nullopt;
    return state.starts_with("cooling-down")
               ? "The projector is cooling down: it takes nothing but power on once in standby."
               : "The projector is in standby: power it on first.";
}

}  // namespace web
