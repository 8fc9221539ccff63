#include "panel/CommandNames.h"

#include "link/Decoder.h"
#include "panel/CommandButtons.h"
#include "panel/ControlTable.h"
#include "panel/HoldRepeater.h"

namespace panel {

namespace {

// What a control does: its description for screen readers, else its
// caption. A held button's description ends in how the window repeats it,
// which a script's single press does not.
std::string whatOf(std::string_view control, bool held) {
    for (const Description& row : descriptionTable()) {
        if (row.control != control) continue;
        return std::string(held ? row.text.substr(0, row.text.find(':')) : row.text);
    }
    for (const toolkit::ControlSpec& spec : controlTable()) {
        if (spec.name == control) return std::string(spec.caption);
    }
    return {};
}

}  // namespace

std::vector<NamedCommand> namedCommands() {
    std::vector<NamedCommand> commands;
    for (const CommandButton& row : commandButtonTable()) {
        commands.push_back(
            {row.name, row.code, whatOf(row.control, false), projector::isQuery(row.code)});
    }
    for (const HoldButton& row : holdButtonTable()) {
        commands.push_back(
            {row.name, row.code, whatOf(row.control, true), projector::isQuery(row.code)});
    }
    return commands;
}

std::optional<NamedCommand> commandNamed(std::string_view name) {
    for (NamedCommand& command : namedCommands()) {
        if (command.name == name) return command;
    }
    return std::nullopt;
}

}  // namespace panel
