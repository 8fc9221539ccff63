#pragma once
// The line offered to the panel and kr60p-ctl as a raw device server
// offers a serial port: each command line a client sends is one exchange on
// the shared line, its reply goes back to that client alone, and what the
// projector says unasked goes to every client.

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/pjlink/GatewayOptions.h"
#include "link/SharedLine.h"

namespace gateway {

class Connection;

class ShareServer : public QObject {
  public:
    using Log = std::function<void(const std::string& line)>;

    ShareServer(projector::SharedLine& line, Log log);
    ~ShareServer() override;
    ShareServer(const ShareServer&) = delete;
    ShareServer& operator=(const ShareServer&) = delete;
    std::optional<Endpoint> listen(const Endpoint& endpoint, std::string& why);
    // Bytes nobody asked for, to every client.
    void unasked(const std::string& bytes);

  private:
    void accept();
    // A client's connection: each line it sends one exchange.
    void take(QTcpSocket* socket);

    projector::SharedLine& line_;
    Log log_;
    QTcpServer server_;
    std::set<Connection*> clients_;
};

}  // namespace gateway
