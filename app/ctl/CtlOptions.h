#pragma once
// kr60p-ctl's command line.

#include <optional>
#include <string>
#include <vector>

namespace ctl {

inline constexpr int kDefaultTimeoutMs = 500;
// Through a raw TCP device server (the gateway's share among them) a line may
// wait for one exchange of another client ahead of it: room for that one and
// its own.
inline constexpr int kNetworkTimeoutMs = 1500;

struct Options {
    std::optional<std::string> device;  // -d: what COM1 stands for otherwise
    std::string settings = "19200,N,8,1";
    bool speedGiven = false;  // -s
    int timeoutMs = kDefaultTimeoutMs;
    bool timeoutGiven = false;  // -t
    bool json = false;
    std::optional<std::string> log;  // --log FILE; "-" is standard error
    bool list = false;
    std::vector<std::string> words;       // the commands, as given
    std::optional<std::string> exitText;  // --help, --version or a usage error
    int exitStatus = 0;
};

Options readOptions(const std::vector<std::string>& arguments);
// The reply time-out for the device: -t's, or the default for its kind.
int timeoutFor(const Options& options, const std::string& device);

}  // namespace ctl
