#include "mqtt/Entities.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "pjlink/Mapping.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"

namespace mqtt {

namespace {

using C = Component;

// clang-format off
constexpr std::array kPower = std::to_array<Choice>({
    {"ON", "power-on", "on warming-up"}, {"OFF", "power-off", "standby cooling-down"}});
constexpr std::array kInput = std::to_array<Choice>({
    {"PC1", "input-pc1", "computer-1"}, {"PC2", "input-pc2", "computer-2"},
    {"Video", "input-video", "video"}});
constexpr std::array kPictureMute = std::to_array<Choice>({
    {"ON", "no-show-on", "video video-audio"}, {"OFF", "no-show-off", "off audio no-signal"}});
constexpr std::array kSoundMute = std::to_array<Choice>({
    {"ON", "mute-on", "audio video-audio"}, {"OFF", "mute-off", "off video no-signal"}});
constexpr std::array kFreeze = std::to_array<Choice>({
    {"ON", "freeze-on", "true"}, {"OFF", "freeze-off", "false"}});
constexpr std::array kPictureMode = std::to_array<Choice>({
    {"Standard", "picture-standard"}, {"Real", "picture-real"}, {"Cinema", "picture-cinema"},
    {"Image 1", "picture-image1"}, {"Image 2", "picture-image2"}, {"Image 3", "picture-image3"},
    {"Image 4", "picture-image4"}, {"Blackboard", "picture-blackboard"},
    {"Dynamic", "picture-dynamic"}});
constexpr std::array kSignal = std::to_array<Choice>({
    {"PC1 RGB", "pc1-rgb"}, {"PC1 DVI from a computer", "pc1-dvi-pc"},
    {"PC1 DVI from AV equipment", "pc1-dvi-av"}, {"PC2 RGB", "pc2-rgb"},
    {"PC2 component", "pc2-component"}, {"PC2 SCART", "pc2-scart"},
    {"Video automatic", "video-auto"}, {"Video composite", "video-composite"},
    {"Video S-Video", "video-s-video"}});
constexpr std::array kInputSignal = std::to_array<Choice>({
    {"Wired", "signal-wired"}, {"Wireless", "signal-wireless"}});
constexpr std::array kSize = std::to_array<Choice>({
    {"Regular", "size-regular"}, {"Wide", "size-wide"}});
constexpr std::array kKeyLock = std::to_array<Choice>({
    {"None", "key-lock-none"}, {"Remote control", "key-lock-remote"},
    {"Projector's keys", "key-lock-keys"}});
constexpr std::array kProblem = std::to_array<Choice>({{"ON", "", "1 2"}, {"OFF", "", "0"}});

constexpr Entity button(std::string_view command, std::string_view name, std::string_view icon,
                        std::string_view category = {}) {
    return {command, C::Button, name, {}, {}, {}, {.category = category, .icon = icon}};
}

constexpr Look kConfig{.category = "config"};
constexpr Look kDiagnostic{.category = "diagnostic"};
constexpr Look kTemperature{.deviceClass = "temperature", .unit = "°C", .stateClass = "measurement"};
constexpr Look kProblemLook{.deviceClass = "problem"};

const std::array kEntities = std::to_array<Entity>({
    {"power", C::Switch, "Power", "", "power", kPower, {.icon = "mdi:projector"}},
    {"power-state", C::Sensor, "Power state", "", "power", {}, {.deviceClass = "enum"}, true},
    {"input", C::Select, "Input", "input-mode", "input", kInput, {.icon = "mdi:video-input-hdmi"}},
    {"picture-mute", C::Switch, "Picture mute", "mute-state", "mute", kPictureMute,
     {.icon = "mdi:projector-screen-off"}},
    {"sound-mute", C::Switch, "Sound mute", "mute-state", "mute", kSoundMute,
     {.icon = "mdi:volume-off"}},
    {"freeze", C::Switch, "Freeze", "", "freeze", kFreeze, {.icon = "mdi:pause"}},
    {"picture-mode", C::Select, "Picture mode", "", "", kPictureMode, kConfig},
    {"signal", C::Select, "Signal type", "", "", kSignal, kConfig},
    {"input-signal", C::Select, "Input signal", "", "", kInputSignal, kConfig},
    {"av-size", C::Select, "AV size", "", "", kSize, kConfig},
    {"key-lock", C::Select, "Key lock", "", "", kKeyLock, kConfig},
    button("volume-up", "Volume up", "mdi:volume-plus"),
    button("volume-down", "Volume down", "mdi:volume-minus"),
    button("brightness-up", "Brightness up", "mdi:brightness-5"),
    button("brightness-down", "Brightness down", "mdi:brightness-4"),
    button("zoom-in", "Zoom in", "mdi:magnify-plus"),
    button("zoom-out", "Zoom out", "mdi:magnify-minus"),
    button("keystone-up", "Keystone up", "mdi:arrow-expand-up", "config"),
    button("keystone-down", "Keystone down", "mdi:arrow-expand-down", "config"),
    button("menu-on", "Menu on", "mdi:menu"),
    button("menu-off", "Menu off", "mdi:menu-open"),
    button("cursor-up", "Cursor up", "mdi:chevron-up"),
    button("cursor-down", "Cursor down", "mdi:chevron-down"),
    button("cursor-left", "Cursor left", "mdi:chevron-left"),
    button("cursor-right", "Cursor right", "mdi:chevron-right"),
    button("cursor-select", "Cursor select", "mdi:checkbox-blank-circle-outline"),
    button("auto-image", "Automatic image adjustment", "mdi:auto-fix"),
    button("image", "Image adjustment", "mdi:image-edit"),
    button("presentation-timer", "Presentation timer", "mdi:timer-outline"),
    button("display-clear", "Display clear", "mdi:eraser"),
    {"lamp-hours", C::Sensor, "Lamp hours", "lamp-time", "hours", {},
     {"duration", "h", "total_increasing", "diagnostic", "mdi:lightbulb-on-outline"}},
    {"temperature-1", C::Sensor, "Temperature 1", "temperatures", "temperatures[0]", {}, kTemperature},
    {"temperature-2", C::Sensor, "Temperature 2", "temperatures", "temperatures[1]", {}, kTemperature},
    {"temperature-3", C::Sensor, "Temperature 3", "temperatures", "temperatures[2]", {}, kTemperature},
    {"pressure", C::Sensor, "Air pressure", "pressure", "hPa", {},
     {"atmospheric_pressure", "hPa", "measurement"}},
    {"lamp-mode", C::Sensor, "Lamp mode", "lamp-mode", "lamps", {},
     {.deviceClass = "enum", .icon = "mdi:lightbulb-group"}, true},
    {"status", C::Sensor, "Status", "power-state", "state", {},
     {.deviceClass = "enum", .category = "diagnostic"}, true},
    {"image-reversal", C::Sensor, "Image reversal", "image-reversal", "reversal", {},
     {.deviceClass = "enum", .category = "diagnostic"}, true},
    {"software-version", C::Sensor, "Software version", "software-version", "version", {},
     kDiagnostic},
    {"fan-problem", C::BinarySensor, "Fan", "", "errors.erst[0]", kProblem, kProblemLook},
    {"lamp-problem", C::BinarySensor, "Lamp", "", "errors.erst[1]", kProblem, kProblemLook},
    {"temperature-problem", C::BinarySensor, "Temperature", "", "errors.erst[2]", kProblem,
     kProblemLook},
    {"cover-problem", C::BinarySensor, "Cover", "", "errors.erst[3]", kProblem, kProblemLook},
    {"filter-problem", C::BinarySensor, "Filter", "", "errors.erst[4]", kProblem, kProblemLook},
    {"other-problem", C::BinarySensor, "Other", "", "errors.erst[5]", kProblem, kProblemLook},
    {"unreachable", C::BinarySensor, "Projector unreachable", "", "", {}, kProblemLook, false,
     false, "{{ 'OFF' if value_json.reachable and value_json.answering else 'ON' }}"},
});
// clang-format on

// The reading's values a choice shows, as a Jinja list.
std::string listOf(std::string_view when) {
    std::string list;
    std::size_t at = 0;
    while (at < when.size()) {
        const std::size_t end = std::min(when.find(' ', at), when.size());
        const std::string_view token = when.substr(at, end - at);
        const bool bare = token == "true" || token == "false";
        list += (list.empty() ? "" : ", ") +
                (bare ? std::string(token) : "'" + std::string(token) + "'");
        at = end + 1;
    }
    return "[" + list + "]";
}

bool showsChoices(const Entity& entity) {
    return std::any_of(entity.choices.begin(), entity.choices.end(),
                       [](const Choice& choice) { return !choice.when.empty(); });
}

std::string lowered(std::string_view text) {
    std::string low;
    for (const char c : text) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return low;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

}  // namespace

std::string_view componentName(Component component) {
    switch (component) {
        case C::Switch:
            return "switch";
        case C::Select:
            return "select";
        case C::Button:
            return "button";
        case C::Sensor:
            return "sensor";
        case C::BinarySensor:
            break;
    }
    return "binary_sensor";
}

std::span<const Entity> entities() {
    return kEntities;
}

const Entity* entityNamed(std::string_view object) {
    for (const Entity& entity : kEntities) {
        if (entity.object == object) return &entity;
    }
    return nullptr;
}

std::string valueTemplate(const Entity& entity) {
    if (!entity.value.empty()) return std::string(entity.value);
    if (entity.key.empty()) return {};
    std::string set, guard, subject;
    if (!entity.query.empty()) {
        set = "{% set r = value_json.readings.get('" + std::string(entity.query) + "') %}";
        guard = "r is not none";
        subject = "r." + std::string(entity.key);
    } else {
        const std::string key(entity.key);
        guard = "value_json." + key.substr(0, key.find_first_of(".[")) + " is not none";
        subject = "value_json." + key;
    }
    if (!showsChoices(entity)) return set + "{{ " + subject + " if " + guard + " else None }}";
    std::string text = set;
    for (const Choice& choice : entity.choices) {
        text += text.size() == set.size() ? "{% if " : "{% elif ";
        text += guard;
        text += " and " + subject;
        text += " in " + listOf(choice.when);
        text += " %}";
        text += choice.payload;
    }
    return text + "{% else %}None{% endif %}";
}

std::vector<std::string> optionsOf(const Entity& entity) {
    std::vector<std::string> options;
    if (entity.component == C::Select) {
        for (const Choice& choice : entity.choices) options.emplace_back(choice.payload);
    } else if (entity.enumerated && entity.query.empty()) {
        options.assign(pjlink::kPowerNames.begin(), pjlink::kPowerNames.end());
    } else if (entity.enumerated) {
        for (const projector::Field field :
             {projector::Field::State, projector::Field::Input, projector::Field::Reversal,
              projector::Field::Mute, projector::Field::Lamps}) {
            if (projector::fieldName(field) != entity.key) continue;
            for (const std::string_view name : projector::namesOf(field))
                options.emplace_back(name);
        }
    }
    return options;
}

toolkit::Result<std::string> commandFor(std::string_view control, std::string_view payload) {
    const Entity* entity = entityNamed(control);
    if (!entity || entity->choices.empty() || entity->choices.front().command.empty()) {
        std::string controls;
        for (const Entity& each : kEntities) {
            if (each.component != C::Switch && each.component != C::Select) continue;
            controls += (controls.empty() ? "" : ", ") + std::string(each.object);
        }
        return toolkit::failure("There is no control \"" + std::string(control) +
                                "\"; the controls are " + controls + ".");
    }
    const std::string asked = lowered(trimmed(payload));
    std::string choices;
    for (const Choice& choice : entity->choices) {
        if (lowered(choice.payload) == asked) return std::string(choice.command);
        choices += (choices.empty() ? "" : ", ") + std::string(choice.payload);
    }
    return toolkit::failure("\"" + std::string(payload) + "\" is not one of " + choices + " for " +
                            std::string(control) + ".");
}

}  // namespace mqtt
