#include "app/pjlink/ShareServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <memory>

#include "app/pjlink/Connection.h"
#include "app/pjlink/PjlinkServer.h"
#include "link/Link.h"
#include "vocabulary/Trace.h"

namespace gateway {

namespace {

// Each is a panel or a script: a handful at most.
constexpr std::size_t kMostShareClients = 16;

}  // namespace

ShareServer::ShareServer(projector::SharedLine& line, Log log) : line_(line), log_(std::move(log)) {
    connect(&server_, &QTcpServer::newConnection, this, &ShareServer::accept);
}

ShareServer::~ShareServer() {
    closeQuietly(server_);
}

std::optional<Endpoint> ShareServer::listen(const Endpoint& endpoint, std::string& why) {
    return listenOn(server_, endpoint, why);
}

void ShareServer::unasked(const std::string& bytes) {
    for (Connection* client : clients_) client->interject(bytes);
}

void ShareServer::accept() {
    acceptUpTo(
        server_, kMostShareClients, [this] { return clients_.size(); }, "SHARE", log_,
        [this](QTcpSocket* socket) { take(socket); });
}

void ShareServer::take(QTcpSocket* socket) {
    // The line a client is sending, up to its CR.
    auto pending = std::make_shared<std::string>();
    auto* connection = new Connection(socket);
    QPointer<Connection> alive(connection);
    connection->onHeard([this, alive, pending](const std::string& bytes) {
        for (const char c : bytes) {
            if (!alive) return;
            if (c == '\n') continue;  // a CR LF client's LF
            if (c != '\r') {
                if (pending->size() >= projector::kRxBufferLimit) {
                    return alive->cut("cut off: a line longer than " +
                                      std::to_string(projector::kRxBufferLimit) + " characters");
                }
                *pending += c;
                continue;
            }
            const std::string code = std::exchange(*pending, {});
            const Connection::Place place = alive->reserve();
            line_.exchange(code, projector::Expect::Either,
                           [alive, place](const projector::Answer& answer) {
                               // As a serial port would: what came back, or nothing.
                               if (alive) alive->fill(place, answer.reply);
                           });
        }
    });
    connection->onClosed([this, connection](const std::string& why) {
        clients_.erase(connection);
        log_("SHARE " + connection->peer() + " CLOSED: " + why);
    });
    clients_.insert(connection);
    log_("SHARE " + connection->peer() + " CONNECTED");
}

}  // namespace gateway
