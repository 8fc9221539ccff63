#pragma once
// The command line: which device each port number stands for.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
    std::map<int, std::string> devices;   // port number -> device path
    std::optional<std::string> exitText;  // --help, --version or a usage error
    int exitStatus = 0;
};

Options readOptions(const std::vector<std::string>& arguments);

}  // namespace app
