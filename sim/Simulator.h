#pragma once
// The simulator's loop: the projector on its wire (its own pseudo-terminal,
// a given terminal, or TCP), until it is told to stop, the panel has gone
// from its own pseudo-terminal, or the hang-up fault ends it.

#include <csignal>

#include "sim/Options.h"

namespace sim {

class Simulator {
  public:
    explicit Simulator(Options options) : o_(std::move(options)) {}

    // Prints where the panel finds the projector on the first line, then
    // serves. Returns the exit status.
    int run(const volatile std::sig_atomic_t& stop);

  private:
    Options o_;
};

}  // namespace sim
