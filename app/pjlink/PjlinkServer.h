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
// A server listening there, or nothing, with why; the endpoint it listens
// on is the port it took.
std::optional<Endpoint> listenOn(QTcpServer& server, const Endpoint& endpoint, std::string& why);

// Clients beyond this are closed as they connect.
inline constexpr std::size_t kMostClients = 64;

class PjlinkServer : public QObject {
  public:
    using Log = std::function<void(const std::string& line)>;

    PjlinkServer(pjlink::Answers& answers, std::optional<std::string> password, Log log);
    ~PjlinkServer() override;
    PjlinkServer(const PjlinkServer&) = delete;
    PjlinkServer& operator=(const PjlinkServer&) = delete;

    // Where it listens (port 0 takes a free one), or nothing, with why.
    std::optional<Endpoint> listen(const Endpoint& endpoint, std::string& why);
    std::size_t clients() const { return clients_; }
    // Told of the client that sent a command, once it has given the password.
    void onController(std::function<void(const QHostAddress&)> heard) {
        controller_ = std::move(heard);
    }

  private:
    void accept(QTcpServer& server);

    pjlink::Answers& answers_;
    std::optional<std::string> password_;
    Log log_;
    std::vector<std::unique_ptr<QTcpServer>> servers_;
    std::size_t clients_ = 0;
    std::function<void(const QHostAddress&)> controller_;
};

}  // namespace gateway
