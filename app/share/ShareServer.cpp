#include "app/share/ShareServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <memory>

#include "app/servers/Connection.h"
#include "app/servers/Listening.h"
#include "link/Link.h"

namespace gateway {

ShareServer::ShareServer(projector::SharedLine& line, Journal journal, ClientLedger::Now now)
    : line_(line), journal_(std::move(journal)), ledger_("SHARE", std::move(now), journal_.event) {
    connect(&server_, &QTcpServer::newConnection, this, &ShareServer::accept);
    tick_.setInterval(1000);
    connect(&tick_, &QTimer::timeout, this, [this] {
        ledger_.tick();
        if (ledger_.empty()) tick_.stop();
    });
}

ShareServer::~ShareServer() {
    closeQuietly(server_);
}

toolkit::Result<Endpoint> ShareServer::listen(const Endpoint& endpoint) {
    return listenOn(server_, endpoint);
}

void ShareServer::unasked(const std::string& bytes) {
    for (Connection* client : clients_) client->interject(bytes);
}

void ShareServer::accept() {
    acceptUpTo(
        server_, kMostShareClients, [this] { return clients_.size(); },
        [this](QTcpSocket* socket, const std::string& why) {
            // What device servers say, so that the panel and kr60p-ctl say
            // the line is in use rather than that it closed without a word.
            const std::string said = "Port already in use: " + why + "\r\n";
            socket->write(said.data(), static_cast<qint64>(said.size()));
            ledger_.refused(hostOf(socket->peerAddress()), why);
        },
        [this](QTcpSocket* socket) { take(socket); });
}

void ShareServer::take(QTcpSocket* socket) {
    // The line a client is sending, up to its end; whether the last byte was
    // a CR, whose LF ends nothing more.
    struct Sending {
        std::string line;
        bool afterCr = false;
    };
    auto sending = std::make_shared<Sending>();
    auto* connection = new Connection(socket);
    QPointer<Connection> alive(connection);
    const std::string host = hostOf(socket->peerAddress());
    connection->onHeard([this, alive, sending, host](const std::string& bytes) {
        for (const char c : bytes) {
            if (!alive) return;
            const bool afterCr = std::exchange(sending->afterCr, c == '\r');
            if (c == '\n' && afterCr) continue;  // a CR LF client's LF
            if (c != '\r' && c != '\n') {
                if (sending->line.size() >= projector::kRxBufferLimit) {
                    return alive->cut("cut off: a line longer than " +
                                      std::to_string(projector::kRxBufferLimit) + " characters");
                }
                sending->line += c;
                continue;
            }
            const std::string code = std::exchange(sending->line, {});
            ledger_.request(host);
            const Connection::Place place = alive->reserve();
            line_.relay(code, [alive, place](const projector::Answer& answer) {
                // As a serial port would: what came back, or nothing.
                if (alive) alive->fill(place, answer.reply);
            });
        }
    });
    connection->onClosed([this, connection](const std::string& why) {
        clients_.erase(connection);
        journal_.detail("SHARE " + connection->peer() + " CLOSED: " + why);
    });
    clients_.insert(connection);
    ledger_.connected(host);
    if (!tick_.isActive()) tick_.start();
    journal_.detail("SHARE " + connection->peer() + " CONNECTED");
}

}  // namespace gateway
