#pragma once
// kr60p-ctl's command line.

#include <optional>
#include <string>
#include <vector>

namespace ctl {

inline constexpr int kDefaultTimeoutMs = 500;

struct Options {
    std::optional<std::string> device;  // -d: what COM1 stands for otherwise
    std::string settings = "19200,N,8,1";
    bool speedGiven = false;  // -s
    int timeoutMs = kDefaultTimeoutMs;
    bool json = false;
    std::optional<std::string> log;  // --log FILE; "-" is standard error
    bool list = false;
    std::vector<std::string> words;       // the commands, as given
    std::optional<std::string> exitText;  // --help, --version or a usage error
    int exitStatus = 0;
};

Options readOptions(const std::vector<std::string>& arguments);

}  // namespace ctl
