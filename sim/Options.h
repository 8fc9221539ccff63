#pragma once
// The simulator's command line.

#include <cstddef>
#include <string>

#include "sim/Projector.h"

namespace sim {

struct Options {
    std::string link;    // a symbolic link to make to its own pseudo-terminal
    std::string listen;  // tcp://HOST:PORT or rfc2217://HOST:PORT: serve on TCP instead
    std::string device;  // a terminal to serve on instead
    long baud = 19200;   // the projector's line speed
    ProjectorTimes times;
    long delayMs = 0;
    std::size_t chunk = 0;
    long chunkGapMs = 20;
    bool silent = false;
    std::string unasked;
    long unaskedEveryMs = 1000;
    std::size_t garbage = 0;
    long hangUpAfter = 0;
    bool quiet = false;
    std::string statusFrom;  // a file whose first line CR0 answers with, while it has one
};

// Reads the options; prints help or a usage error and exits where the
// command line asks for it or is wrong.
Options readOptions(int argc, char** argv);

}  // namespace sim
