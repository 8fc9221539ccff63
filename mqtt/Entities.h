#pragma once
// The projector as Home Assistant's entities: each control and reading once,
// as data (its component, its name, the reading it shows, the commands its
// choices send), from which the discovery documents, their templates over
// the state object and the reading of a control's payload all come.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Result.h"

namespace mqtt {

enum class Component { Switch, Select, Button, Sensor, BinarySensor };
std::string_view componentName(Component component);  // "switch", "binary_sensor", ...

// A payload a control takes, the catalogue command it sends, and the values
// of the reading (blank apart) that show it chosen.
struct Choice {
    std::string_view payload;
    std::string_view command;
    std::string_view when = {};
};

struct Look {
    std::string_view deviceClass = {};
    std::string_view unit = {};
    std::string_view stateClass = {};
    std::string_view category = {};  // "diagnostic", "config", or none
    std::string_view icon = {};
};

struct Entity {
    std::string_view object;  // its id under the device, and BASE/OBJECT/set for a control
    Component component;
    std::string_view name;
    // The reading it shows: the catalogue's query and the value in it
    // ("lamp-time", "hours"), or the state object's own key ("power").
    std::string_view query;
    std::string_view key;
    std::span<const Choice> choices = {};
    Look look = {};
    bool enumerated = false;      // a sensor of the reading's names, as options
    bool needsProjector = true;   // unavailable too while the projector is away
    std::string_view value = {};  // a template of its own
};

std::span<const Entity> entities();
const Entity* entityNamed(std::string_view object);

// The template Home Assistant reads the entity's state with from the state
// object: None (unknown) where the reading is not there; none for an entity
// without a state (a button, a select the projector cannot be asked for).
std::string valueTemplate(const Entity& entity);
// The options of a select or an enumerated sensor.
std::vector<std::string> optionsOf(const Entity& entity);

// The catalogue command a control's payload asks for (ON, OFF, an option,
// as Home Assistant sends them, in any case), or why there is none.
toolkit::Result<std::string> commandFor(std::string_view control, std::string_view payload);

}  // namespace mqtt
