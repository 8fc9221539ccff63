#pragma once
// What carries the bytes between the panel and the simulated projector: its
// own pseudo-terminal, a terminal that is already there, or TCP.

#include <poll.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/Responder.h"

namespace sim {

class Wire {
  public:
    virtual ~Wire() = default;
    // Where the panel finds the projector: the first line of the log.
    virtual std::string where() const = 0;
    // What to wait on, and how long at most (-1: as long as it takes).
    virtual std::vector<pollfd> watch() const = 0;
    virtual int untilNextLook() const { return -1; }
    // After the wait: what the panel sent, connections coming and going
    // handled and noted.
    virtual std::string take(const std::vector<pollfd>& ready, Responder& responder) = 0;
    virtual void send(const std::string& bytes) = 0;
    // The speed the panel's end of the line runs at; 0 where that cannot be told.
    virtual long panelBaud() const = 0;
    // Nothing more to serve.
    virtual bool over() const { return false; }
};

// Milliseconds of a clock that only goes forward.
std::int64_t steadyMs();

// 19200 from a terminal's speed code B19200; 0 for a code it does not know.
long baudOf(unsigned speedCode);
// And back: B19200 from 19200 (B19200 for a speed it does not know).
unsigned speedCodeOf(long baud);

}  // namespace sim
