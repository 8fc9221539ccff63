#pragma once
// The PJLink side of the gateway: TCP servers on the addresses asked for,
// each client's conversation (greeting, password, requests) answered
// through the shared line, and the limits that keep one client from
// holding up the rest.

#include <QObject>
#include <QTcpServer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/pjlink/GatewayOptions.h"
#include "pjlink/Answers.h"

namespace gateway {

// An endpoint's address; null for a host that is no address.
QHostAddress addressOf(const Endpoint& endpoint);

// Clients beyond this are closed as they connect.
inline constexpr int kMostClients = 32;

class PjlinkServer : public QObject {
  public:
    using Log = std::function<void(const std::string& line)>;

    PjlinkServer(pjlink::Answers& answers, std::optional<std::string> password, Log log);

    // False, with why, when nothing can listen there.
    bool listen(const Endpoint& endpoint, std::string& why);
    int clients() const { return clients_; }

  private:
    void accept(QTcpServer& server);

    pjlink::Answers& answers_;
    std::optional<std::string> password_;
    Log log_;
    std::vector<std::unique_ptr<QTcpServer>> servers_;
    int clients_ = 0;
};

}  // namespace gateway
