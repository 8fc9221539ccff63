#pragma once
// What every program does before its event loop: the text of --help,
// --version or a wrong command line printed where it belongs, and the
// traffic log opened, or why it cannot be.

#include <cstdio>
#include <optional>
#include <string>

namespace app {

// Prints the text (on standard output for status 0, else on standard
// error) and gives the status back, for main to return.
int exitWith(const std::string& text, int status);

struct LogOpening {
    std::FILE* file = nullptr;           // none without --log
    std::optional<std::string> failure;  // why the file cannot be written
};
LogOpening openTrafficLog(const std::optional<std::string>& path);

}  // namespace app
