#pragma once
// What kr60p-ctl is to do, read and checked whole before anything is sent:
// the commands of its command line, with "-" replaced by those of standard
// input, one a line.

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include "link/ExchangeQueue.h"

namespace ctl {

struct Step {
    std::string name;                                    // the command's name, "status" or "send"
    std::string code;                                    // the code it sends (none for "status")
    projector::Expect expect = projector::Expect::Line;  // what its reply is to look like
};

// The steps; or, when a word cannot be a command, why, for standard error.
struct Script {
    std::vector<Step> steps;
    std::string problem;
};

// The longest code send takes, as many bytes as the window's receive buffer.
inline constexpr std::size_t kLongestCode = 32767;

Script readScript(const std::vector<std::string>& words, std::istream& input);

}  // namespace ctl
