#pragma once
// The simulator's own pseudo-terminal: the panel opens its far end. It is
// over once the panel has closed that end for good.

#include <cstdint>
#include <string>

#include "sim/Wire.h"

namespace sim {

class PtyWire : public Wire {
  public:
    // The line starts at the projector's speed, so that a program that sets
    // none is understood. Throws std::runtime_error when no pseudo-terminal,
    // or no link to it, can be made.
    PtyWire(std::string link, long baud);
    ~PtyWire() override;
    PtyWire(const PtyWire&) = delete;
    PtyWire& operator=(const PtyWire&) = delete;

    std::string where() const override { return device_; }
    std::vector<pollfd> watch() const override;
    std::string take(const std::vector<pollfd>& ready, Responder& responder) override;
    void send(const std::string& bytes) override;
    long panelBaud() const override;
    bool over() const override { return gone_; }

  private:
    std::string link_;
    int master_ = -1;
    std::string device_;
    bool connected_ = false;
    bool gone_ = false;
    std::int64_t closedSince_ = -1;
};

}  // namespace sim
