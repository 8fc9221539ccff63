#pragma once
// The window's commands by name, for scripts: every row of the command
// button and hold button tables, with the code it sends and what it does.
// One source for the window and kr60p-ctl: a new row is a new command in
// both.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace panel {

struct NamedCommand {
    std::string_view name;  // "power-on"
    std::string_view code;  // "C00"
    std::string what;       // "Power on"
    bool query;             // the decoder reads its reply
};

// In the tables' order: the single-press buttons, then the held ones.
std::vector<NamedCommand> namedCommands();
std::optional<NamedCommand> commandNamed(std::string_view name);

}  // namespace panel
