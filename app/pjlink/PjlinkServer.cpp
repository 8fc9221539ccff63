#include "app/pjlink/PjlinkServer.h"

#include <QCryptographicHash>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include "app/pjlink/Connection.h"
#include "pjlink/Conversation.h"

namespace gateway {

namespace {

std::string digest(pjlink::Hash hash, std::string_view text) {
    return QCryptographicHash::hash(
               QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
               hash == pjlink::Hash::Md5 ? QCryptographicHash::Md5 : QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

// Hexadecimal digits, eight for each 32 bits, from the system's source of
// randomness.
std::string randomText(int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        text += QString::number(QRandomGenerator::system()->generate(), 16)
                    .rightJustified(8, '0')
                    .toStdString();
    }
    return text;
}

// A line as the log shows it: without its CR.
std::string logged(std::string text) {
    while (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

}  // namespace

QHostAddress addressOf(const Endpoint& endpoint) {
    if (endpoint.host.empty()) return QHostAddress(QHostAddress::Any);
    if (endpoint.host == "localhost") return QHostAddress(QHostAddress::LocalHost);
    return QHostAddress(QString::fromStdString(endpoint.host));
}

namespace {

// One client: its conversation, and the countdown that closes it after
// 30 s without a command.
class Client : public QObject {
  public:
    Client(QTcpSocket* socket, pjlink::Answers& answers, const std::optional<std::string>& password,
           const PjlinkServer::Log& log, std::function<void()> gone,
           std::function<void()> commanded)
        : QObject(socket),
          answers_(answers),
          log_(log),
          gone_(std::move(gone)),
          commanded_(std::move(commanded)),
          conversation_(password, {randomText(1), randomText(4)}, digest) {
        connection_ = new Connection(socket);
        connection_->onHeard([this](const std::string& bytes) { heard(bytes); });
        connection_->onClosed([this](const std::string& why) {
            log_("PJLINK " + connection_->peer() + " CLOSED: " + why);
            idle_.stop();
            gone_();
        });
        idle_.setSingleShot(true);
        idle_.setInterval(pjlink::kIdleMs);
        connect(&idle_, &QTimer::timeout, this,
                [this] { connection_->finish("no command for 30 s"); });
        idle_.start();
        log_("PJLINK " + connection_->peer() + " CONNECTED");
        connection_->say(conversation_.greeting());
    }

  private:
    void heard(const std::string& bytes) {
        const pjlink::Conversation::Heard heard = conversation_.hear(bytes);
        for (const auto& item : heard.items) {
            idle_.start();
            if (!item.request) {
                log_("PJLINK " + connection_->peer() + " < " + logged(item.answer));
                connection_->say(item.answer);
                continue;
            }
            const pjlink::Request request = *item.request;
            commanded_();
            log_("PJLINK " + connection_->peer() + " > %" + request.version + request.command +
                 " " + request.parameter);
            const Connection::Place place = connection_->reserve();
            answers_.answer(request, [self = QPointer<Client>(this), request,
                                      place](const pjlink::Response& response) {
                if (!self) return;
                const std::string line = pjlink::answerLine(request, response);
                self->log_("PJLINK " + self->connection_->peer() + " < " + logged(line));
                self->connection_->fill(place, line);
            });
        }
        if (heard.refused) connection_->finish("wrong or missing password digest");
    }

    pjlink::Answers& answers_;
    const PjlinkServer::Log& log_;
    std::function<void()> gone_;
    std::function<void()> commanded_;
    pjlink::Conversation conversation_;
    Connection* connection_ = nullptr;
    QTimer idle_;
};

}  // namespace

PjlinkServer::PjlinkServer(pjlink::Answers& answers, std::optional<std::string> password, Log log)
    : answers_(answers), password_(std::move(password)), log_(std::move(log)) {}

std::optional<Endpoint> listenOn(QTcpServer& server, const Endpoint& endpoint, std::string& why) {
    const QHostAddress address = addressOf(endpoint);
    if (address.isNull()) {
        why = "\"" + endpoint.host + "\" is not an address of this machine";
        return std::nullopt;
    }
    if (!server.listen(address, static_cast<quint16>(endpoint.port))) {
        why = server.errorString().toStdString();
        return std::nullopt;
    }
    Endpoint listening = endpoint;
    listening.port = server.serverPort();
    return listening;
}

PjlinkServer::~PjlinkServer() {
    for (const auto& server : servers_) closeQuietly(*server);
}

std::optional<Endpoint> PjlinkServer::listen(const Endpoint& endpoint, std::string& why) {
    auto server = std::make_unique<QTcpServer>();
    std::optional<Endpoint> listening = listenOn(*server, endpoint, why);
    if (!listening) return std::nullopt;
    QTcpServer& accepting = *server;
    connect(&accepting, &QTcpServer::newConnection, this,
            [this, &accepting] { accept(accepting); });
    servers_.push_back(std::move(server));
    return listening;
}

void PjlinkServer::accept(QTcpServer& server) {
    acceptUpTo(
        server, kMostClients, [this] { return clients_; }, "PJLINK", log_,
        [this](QTcpSocket* socket) {
            ++clients_;
            new Client(
                socket, answers_, password_, log_, [this] { --clients_; },
                [this, socket] {
                    if (controller_) controller_(socket->peerAddress());
                });
        });
}

}  // namespace gateway
