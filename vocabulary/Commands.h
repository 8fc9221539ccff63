#pragma once
// The projector's commands by name: the code each sends, what it does in a
// person's words, and how long its reply may take. One catalogue for every
// front end: the window's buttons send these by name, kr60p-ctl takes the
// names from a shell script.

#include <span>
#include <string_view>

namespace projector {

// The reply time-outs the projector needs: most replies come at once; a
// picture mode takes a while to apply, a signal type longer.
inline constexpr int kReplyMs = 500;
inline constexpr int kPictureModeReplyMs = 2000;
inline constexpr int kSignalTypeReplyMs = 5000;

struct Command {
    std::string_view name;  // for scripts: lower-case words and hyphens
    std::string_view code;  // the line's text, without its CR
    std::string_view what;  // what it does, in a person's words
    int replyMs = kReplyMs;
    bool typed = false;  // the window has no button for it: typed in CMD
    int repeatMs = 0;    // a held button's: sent again this often while held
};

// In the window's order: the single-press buttons, then the held ones, then
// the queries the window only sends as typed.
std::span<const Command> commandCatalogue();
// Nothing when no command has the name.
const Command* commandNamed(std::string_view name);
// The code of a named command; empty when no command has the name.
std::string_view codeOf(std::string_view name);
// How long the reply to a code may take: its command's time, or the usual.
int replyMsOf(std::string_view code);
// The command that sends a code; nothing for a code no command sends.
const Command* commandOfCode(std::string_view code);
// What an action changes that a query reads again: the input, the mutes, the
// power state; nothing for one that changes none of them.
enum class Changes { Nothing, Power, Input, Mutes };
Changes changesOf(std::string_view code);

}  // namespace projector
