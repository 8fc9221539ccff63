#pragma once
// The line offered to the panel and kr60p-ctl as a raw device server
// offers a serial port: each command line a client sends (ended by CR, LF or
// CR LF) is one exchange on the shared line, ahead of the PJLink clients'
// (its client's own time-out runs), its reply goes back to that client
// alone, and what the projector says unasked goes to every client.

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <set>
#include <string>

#include "app/servers/ClientLedger.h"
#include "app/servers/Endpoint.h"
#include "app/servers/Journal.h"
#include "link/SharedLine.h"
#include "toolkit/Result.h"

namespace gateway {

class Connection;

// Each is a panel or a script: a handful at most.
inline constexpr std::size_t kMostShareClients = 16;

class ShareServer : public QObject {
  public:
    ShareServer(projector::SharedLine& line, Journal journal, ClientLedger::Now now);
    ~ShareServer() override;
    ShareServer(const ShareServer&) = delete;
    ShareServer& operator=(const ShareServer&) = delete;
    toolkit::Result<Endpoint> listen(const Endpoint& endpoint);
    // Bytes nobody asked for, to every client.
    void unasked(const std::string& bytes);
    std::size_t clients() const { return clients_.size(); }

  private:
    void accept();
    // A client's connection: each line it sends one exchange.
    void take(QTcpSocket* socket);

    projector::SharedLine& line_;
    Journal journal_;
    ClientLedger ledger_;
    QTimer tick_;
    QTcpServer server_;
    std::set<Connection*> clients_;
};

}  // namespace gateway
