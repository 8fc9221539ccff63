#pragma once
// PJLink Class 2 over UDP: a controller's search (%2SRCH) answered with the
// MAC address of the interface it came in on (%2ACKN), to the searcher's
// port 4352; the status notifications sent to the destinations; %2LKUP
// when the gateway starts serving.

#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/pjlink/Destinations.h"
#include "app/servers/Endpoint.h"
#include "app/servers/Journal.h"
#include "toolkit/Result.h"

namespace gateway {

class UdpServer : public QObject {
  public:
    UdpServer(Destinations& destinations, Journal journal);

    toolkit::Result<Endpoint> listen(const Endpoint& endpoint);
    // The ports it listens on.
    std::vector<int> ports() const;
    // A controller sent a request.
    void heard(const QHostAddress& controller);
    // Told when whether anyone is to hear notifications may have changed.
    void onListeners(std::function<void()> changed) { changed_ = std::move(changed); }

    // "%2POWR=1\r", to every destination.
    void notify(const std::string& line);
    void linkUp();

  private:
    void readSearches(QUdpSocket& socket);
    void send(const std::string& line, const Place& place);
    void watchController();

    Destinations& destinations_;
    Journal journal_;
    std::vector<std::unique_ptr<QUdpSocket>> sockets_;
    QTimer controllerEnds_;
    std::function<void()> changed_;
};

}  // namespace gateway
