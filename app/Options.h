#pragma once
// The command line: which device each port number stands for this run, and
// what to print instead of starting the window.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
    std::map<int, std::string> devices;  // port number -> device path, this run only
    bool listPorts = false;
    std::optional<std::string> log;       // --log FILE; "-" is standard error
    std::optional<std::string> exitText;  // --help, --version or a usage error
    int exitStatus = 0;
};

Options readOptions(const std::vector<std::string>& arguments);

}  // namespace app
