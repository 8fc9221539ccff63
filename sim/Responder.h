#pragma once
// The projector behind a serial line: it assembles the command lines it
// hears, answers them with the fault switches applied (late, in pieces,
// never, with garbage in front, unasked text, a hang-up), and keeps the
// traffic log. A line run at another speed than the projector's is heard and
// spoken as noise, as a real line would be. Whatever carries the bytes (a
// pseudo-terminal, a terminal, a TCP connection) feeds it.

#include <chrono>
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "sim/Options.h"
#include "sim/Projector.h"

namespace sim {

class Responder {
  public:
    explicit Responder(const Options& options);

    // Bytes from the panel; panelBaud is the speed its end of the line runs
    // at (0 where that cannot be told: taken to be the projector's).
    void heard(const std::string& bytes, long panelBaud);
    // What is due to go out now, as it goes on the line.
    std::string due(long panelBaud);
    // Milliseconds until something is due; -1 when nothing is waiting.
    int untilDue() const;
    // The hang-up fault has come: the line is to be dropped.
    bool hungUp() const { return hungUp_; }
    // A new connection, or a device opened again: a half-heard line and any
    // reply still waiting belong to the one before.
    void restart();
    // A line of the log about the line itself ("connected", "hung up").
    void note(const std::string& text) const;

  private:
    struct Pending {
        std::int64_t due;
        std::string bytes;
    };

    std::int64_t nowMs() const;
    void log(const char* direction, const std::string& bytes, long panelBaud) const;
    void received(const std::string& line, long panelBaud);
    bool garbled(long panelBaud) const { return panelBaud != 0 && panelBaud != o_.baud; }

    const Options& o_;
    Projector projector_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::string line_;
    long lines_ = 0;
    std::deque<Pending> pending_;
    std::int64_t nextUnasked_ = 0;
    std::mt19937 random_{20261207};
    bool hungUp_ = false;
};

// A byte as a receiver at the wrong speed reads it.
std::string noise(const std::string& bytes);

}  // namespace sim
