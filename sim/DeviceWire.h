#pragma once
// A terminal that is already there: the other end of a socat pair, or a real
// serial port wired to the panel's adapter by a null-modem cable. The line
// runs at the projector's speed; when the far end goes away, the terminal is
// opened again until it is back.

#include <cstdint>
#include <string>

#include "sim/Wire.h"

namespace sim {

class DeviceWire : public Wire {
  public:
    // Throws std::runtime_error when the terminal cannot be opened at first.
    DeviceWire(std::string path, long baud);
    ~DeviceWire() override;
    DeviceWire(const DeviceWire&) = delete;
    DeviceWire& operator=(const DeviceWire&) = delete;

    std::string where() const override { return path_; }
    std::vector<pollfd> watch() const override;
    int untilNextLook() const override;
    std::string take(const std::vector<pollfd>& ready, Responder& responder) override;
    void send(const std::string& bytes) override;
    long panelBaud() const override { return 0; }  // the wire itself tells nothing

  private:
    // Empty when opened, else why not.
    std::string open();
    void drop(Responder& responder);

    std::string path_;
    long baud_;
    int fd_ = -1;
    std::int64_t nextTry_ = 0;
};

}  // namespace sim
