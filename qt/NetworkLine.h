#pragma once
// A device server on the network, on QTcpSocket: raw TCP, where the bytes
// pass as they are, or telnet with COM port control (RFC 2217), where the
// line's settings are set on the server too. Name lookup and connection run
// on the event loop and never hold it up; one time-out covers both.

#include <QTcpSocket>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "qt/Line.h"
#include "toolkit/DeviceAddress.h"
#include "toolkit/telnet/ComPort.h"

namespace toolkit::qt {

// Name lookup and connection together.
inline constexpr int kConnectTimeoutMs = 3000;
// How long a new connection is watched before it counts as open: a device
// server that is busy with another client says so and closes within it (a
// telnet server may negotiate first), a round trip after it accepted.
inline constexpr int kSettleMs = 150;

class NetworkLine : public Line {
  public:
    NetworkLine(std::string device, NetworkAddress address, Events events);
    ~NetworkLine() override;
    NetworkLine(const NetworkLine&) = delete;
    NetworkLine& operator=(const NetworkLine&) = delete;

    bool open(const SerialSettings& settings, const std::string& text) override;
    void apply(const SerialSettings& settings, const std::string& text) override;
    void write(const std::string& bytes) override;
    std::string readAll() override;

  private:
    enum class Stage { Waiting, Connecting, Settling, Open, Ended };

    void connectNow();
    void connected();
    void settled();
    void readIncoming();
    void ended(QAbstractSocket::SocketError error);
    void notice(Fault fault);
    Fault fault(Fault::Kind kind, std::string detail = {}) const;
    bool speaksTelnet() const;

    std::string device_;
    NetworkAddress address_;
    Events events_;
    QTcpSocket socket_;
    QTimer deadline_;
    QTimer settle_;
    std::optional<telnet::ComPortClient> telnet_;
    telnet::LineSettings wanted_;
    std::string wantedText_;
    Stage stage_ = Stage::Waiting;
    std::string inbox_;
    std::vector<Fault> heldNotices_;
};

}  // namespace toolkit::qt
