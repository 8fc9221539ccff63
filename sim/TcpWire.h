#pragma once
// The projector behind a device server: a TCP port that one client at a
// time may use, raw or as telnet with COM port control (RFC 2217). A second
// client at the same time is told the port is in use and closed, as device
// servers do; clients are served one after another for as long as the
// simulator runs.

#include <optional>
#include <string>

#include "sim/Wire.h"
#include "toolkit/telnet/ComPort.h"

namespace sim {

class TcpWire : public Wire {
  public:
    // address: tcp://HOST:PORT or rfc2217://HOST:PORT; port 0 takes any free
    // one. Throws std::runtime_error when it cannot listen there.
    TcpWire(const std::string& address, long baud);
    ~TcpWire() override;
    TcpWire(const TcpWire&) = delete;
    TcpWire& operator=(const TcpWire&) = delete;

    // The address with the port it listens on.
    std::string where() const override { return where_; }
    std::vector<pollfd> watch() const override;
    std::string take(const std::vector<pollfd>& ready, Responder& responder) override;
    void send(const std::string& bytes) override;
    long panelBaud() const override;

  private:
    void accept(Responder& responder);
    void hangUp(Responder& responder, const std::string& why);
    void sendRaw(const std::string& bytes);

    bool telnet_ = false;
    long baud_;
    int listener_ = -1;
    int client_ = -1;
    std::string where_;
    std::optional<telnet::ComPortServer> session_;
};

}  // namespace sim
