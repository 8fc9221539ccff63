#pragma once
// PJLink Class 2 over UDP: a controller's search (%2SRCH) answered with the
// MAC address of the interface it came in on (%2ACKN), and the status
// notifications sent to the controllers that are to hear them: those named
// with --notify, and the one that sent the last command; %2LKUP when the
// gateway starts serving.

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/pjlink/GatewayOptions.h"

namespace gateway {

class UdpServer : public QObject {
  public:
    using Log = std::function<void(const std::string& line)>;

    // port: where controllers hear PJLink over UDP (4352; the gateway's own).
    UdpServer(int port, Log log);

    std::optional<Endpoint> listen(const Endpoint& endpoint, std::string& why);
    void addDestination(const Endpoint& endpoint);
    // The controller that sent the last command.
    void setController(const QHostAddress& address);
    bool anyone() const { return !destinations_.empty() || !controller_.isNull(); }

    // "%2POWR=1\r", to every controller that is to hear it.
    void notify(const std::string& line);
    void linkUp();

  private:
    void readSearches(QUdpSocket& socket);
    void send(const std::string& line, const QHostAddress& address, int port);

    int port_;
    Log log_;
    std::vector<std::unique_ptr<QUdpSocket>> sockets_;
    std::vector<Endpoint> destinations_;
    QHostAddress controller_;
    QHostAddress lastController_;
};

}  // namespace gateway
