#pragma once
// PJLink's commands as this gateway answers them: one row each, with its
// class, the parameters it takes and how it is answered. The request reader
// takes its syntax from here and the answers dispatch on it, so that a
// command added here is read and answered.

#include <optional>
#include <span>
#include <string_view>

namespace pjlink {

// How a command is answered.
enum class Handling {
    Fixed,        // the row's own text, in every state
    Name,         // what the projector is called, as configured
    Maker,        // INF1
    Model,        // INF2
    Information,  // INFO
    Inputs,       // the inputs there are
    Power,        // on, off, or the state
    Input,        // an input chosen, or the one in use
    Mute,         // the picture and sound mutes, set or read
    Errors,       // ERST from the power state
    Lamps,        // the lamps, their hours and which are lit
    Version,      // the projector's software, as it says
    InputName,    // an input's name for people
    Resolution,   // IRES: whether a signal comes in
    Volume,       // a step of the volume
    Freeze,       // the freeze, set or as last set
};

struct CommandRow {
    char version;                                  // the class digit after the %
    std::string_view command;                      // four letters, upper-case
    std::span<const std::string_view> parameters;  // "?" for a query
    Handling handling;
    std::string_view text = {};  // Fixed: the answer
};

std::span<const CommandRow> commandTable();
// Nothing when the class has no such command.
const CommandRow* commandRow(char version, std::string_view command);

}  // namespace pjlink
