#pragma once
// The simulator's loop: a pseudo-terminal whose far end the panel opens, the
// projector answering each command line, the fault options, and the traffic
// log on standard output.

#include <chrono>
#include <csignal>
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "sim/Options.h"
#include "sim/Projector.h"

namespace sim {

class Simulator {
  public:
    explicit Simulator(Options options);
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Prints the device path on the first line, then serves until `stop` is
    // set, the peer has gone, or the hang-up fault ends it. Returns the exit
    // status.
    int run(const volatile std::sig_atomic_t& stop);

  private:
    struct Pending {
        std::int64_t due;
        std::string bytes;
    };

    // Milliseconds since the simulator started; the log counts from there.
    std::int64_t nowMs() const;
    void log(const char* direction, const std::string& bytes) const;
    void received(const std::string& line);
    void sendDue();
    void cleanUp();

    Options o_;
    Projector projector_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int master_ = -1;
    std::string line_;
    long lines_ = 0;
    std::deque<Pending> pending_;
    std::int64_t nextUnasked_ = 0;
    std::mt19937 random_{20261207};
    bool hungUp_ = false;
};

}  // namespace sim
