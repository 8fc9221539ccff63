#pragma once
// The catalogue as the web page offers it, grouped as a person looks for a
// command; and whether a command may go to the projector in the state it is
// in, with why not in words.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace web {

struct Group {
    std::string_view title;
    std::span<const std::string_view> commands;  // the catalogue's names, in order
};
std::span<const Group> commandGroups();
// The title of the group a command is in; empty for none.
std::string_view groupOf(std::string_view command);

// Why the command is refused with the projector in this power state (the
// decoder's name for it), or nothing when it may go. The projector ignores
// what it cannot do now: in standby and while cooling down it takes only
// power on (not while cooling) and the queries.
std::optional<std::string> refusal(std::string_view command, std::string_view state);

}  // namespace web
