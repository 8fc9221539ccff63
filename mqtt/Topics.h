#pragma once
// The gateway's topics on an MQTT broker, under one base (kr60p/NAME by
// default): what it publishes, what it listens to, and what a message that
// arrives asks for by its topic.

#include <optional>
#include <string>
#include <string_view>

namespace mqtt {

struct Topics {
    std::string base;
    std::string availability() const { return base + "/availability"; }  // online, offline
    std::string state() const { return base + "/state"; }                // one JSON object
    std::string set() const { return base + "/set"; }                    // JSON commands
    std::string command() const { return base + "/command"; }            // a catalogue name
    std::string response() const { return base + "/response"; }          // each command's outcome
    // BASE/CONTROL/set: power, input, picture-mute, ...
    std::string control(std::string_view control) const;
    // What the gateway subscribes to of its own.
    std::string controls() const { return base + "/+/set"; }
};

// kr60p/ and the projector's name, lower-case, blanks and what a topic
// level cannot hold as hyphens: "Hall 3" is kr60p/hall-3.
std::string defaultBase(std::string_view name);

// Why a topic base cannot be one: empty, a wildcard, a level left empty,
// a $ topic of the broker's; nothing when it can.
std::optional<std::string> baseFault(std::string_view base);

// The base as Home Assistant's identifiers want it: letters, digits, _ and -.
std::string identifierOf(std::string_view base);

// What a message that arrived asks for, by its topic.
struct Route {
    enum class Kind { Set, Control, Command, HomeAssistant, None };
    Kind kind = Kind::None;
    std::string control;  // for Control
};
Route routeOf(const Topics& topics, std::string_view discoveryPrefix, std::string_view topic);

}  // namespace mqtt
