#pragma once
// The PJLink side of the gateway: TCP servers on the addresses asked for,
// each client's conversation (greeting, password, requests) answered
// through the shared line, and the limits that keep one client from
// holding up the rest.

#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/servers/ClientLedger.h"
#include "app/servers/Endpoint.h"
#include "app/servers/Journal.h"
#include "pjlink/Answers.h"
#include "toolkit/Result.h"

namespace gateway {

// Clients beyond this are closed as they connect.
inline constexpr std::size_t kMostClients = 64;

class PjlinkServer : public QObject {
  public:
    PjlinkServer(pjlink::Answers& answers, std::optional<std::string> password, Journal journal,
                 ClientLedger::Now now);
    ~PjlinkServer() override;
    PjlinkServer(const PjlinkServer&) = delete;
    PjlinkServer& operator=(const PjlinkServer&) = delete;

    // Where it listens (port 0 takes a free one), or why not.
    toolkit::Result<Endpoint> listen(const Endpoint& endpoint);
    std::size_t clients() const { return clients_; }
    // Asked of the clients that connect from now on.
    void setPassword(std::optional<std::string> password) { password_ = std::move(password); }
    // Told of the client that sent a command, once it has given the password.
    void onController(std::function<void(const QHostAddress&)> heard) {
        controller_ = std::move(heard);
    }

  private:
    void accept(QTcpServer& server);

    pjlink::Answers& answers_;
    std::optional<std::string> password_;
    Journal journal_;
    ClientLedger ledger_;
    QTimer tick_;  // the ledger's, while it keeps anyone
    std::vector<std::unique_ptr<QTcpServer>> servers_;
    std::size_t clients_ = 0;
    std::function<void(const QHostAddress&)> controller_;
};

}  // namespace gateway
