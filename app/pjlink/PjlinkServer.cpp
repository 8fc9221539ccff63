#include "app/pjlink/PjlinkServer.h"

#include <QCryptographicHash>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include "app/servers/Connection.h"
#include "app/servers/Listening.h"
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

namespace {

// One client: its conversation, and the countdown that closes it after
// 30 s without a command. Each request and answer is traffic detail; the
// ledger sums them up for the journal.
class Client : public QObject {
  public:
    Client(QTcpSocket* socket, pjlink::Answers& answers, const std::optional<std::string>& password,
           const Journal& journal, ClientLedger& ledger, std::function<void()> gone,
           std::function<void()> heardFrom)
        : QObject(socket),
          answers_(answers),
          journal_(journal),
          ledger_(ledger),
          host_(hostOf(socket->peerAddress())),
          gone_(std::move(gone)),
          heardFrom_(std::move(heardFrom)),
          conversation_(password, {randomText(1), randomText(4)}, digest) {
        connection_ = new Connection(socket);
        connection_->onHeard([this](const std::string& bytes) { heard(bytes); });
        connection_->onClosed([this](const std::string& why) {
            journal_.detail("PJLINK " + connection_->peer() + " CLOSED: " + why);
            idle_.stop();
            gone_();
        });
        idle_.setSingleShot(true);
        idle_.setInterval(pjlink::kIdleMs);
        connect(&idle_, &QTimer::timeout, this,
                [this] { connection_->finish("no command for 30 s"); });
        idle_.start();
        ledger_.connected(host_);
        journal_.detail("PJLINK " + connection_->peer() + " CONNECTED");
        connection_->say(conversation_.greeting());
    }

  private:
    void heard(const std::string& bytes) {
        const pjlink::Conversation::Heard heard = conversation_.hear(bytes);
        for (const auto& item : heard.items) {
            idle_.start();
            if (!item.request) {
                journal_.detail("PJLINK " + connection_->peer() + " < " + logged(item.answer));
                connection_->say(item.answer);
                continue;
            }
            const pjlink::Request request = *item.request;
            heardFrom_();
            ledger_.request(host_);
            journal_.detail("PJLINK " + connection_->peer() + " > %" + request.version +
                            request.command + " " + request.parameter);
            const Connection::Place place = connection_->reserve();
            answers_.answer(request, [self = QPointer<Client>(this), request,
                                      place](const pjlink::Response& response) {
                if (!self) return;
                const std::string line = pjlink::answerLine(request, response);
                self->journal_.detail("PJLINK " + self->connection_->peer() + " < " + logged(line));
                self->connection_->fill(place, line);
            });
        }
        if (heard.refused) {
            ledger_.refused(host_, heard.why);
            connection_->finish(heard.why);
        }
    }

    pjlink::Answers& answers_;
    const Journal& journal_;
    ClientLedger& ledger_;
    std::string host_;
    std::function<void()> gone_;
    std::function<void()> heardFrom_;
    pjlink::Conversation conversation_;
    Connection* connection_ = nullptr;
    QTimer idle_;
};

}  // namespace

PjlinkServer::PjlinkServer(pjlink::Answers& answers, std::optional<std::string> password,
                           Journal journal, ClientLedger::Now now)
    : answers_(answers),
      password_(std::move(password)),
      journal_(std::move(journal)),
      ledger_("PJLINK", std::move(now), journal_.event) {
    tick_.setInterval(1000);
    connect(&tick_, &QTimer::timeout, this, [this] {
        ledger_.tick();
        if (ledger_.empty()) tick_.stop();
    });
}

PjlinkServer::~PjlinkServer() {
    for (const auto& server : servers_) closeQuietly(*server);
}

toolkit::Result<Endpoint> PjlinkServer::listen(const Endpoint& endpoint) {
    auto server = std::make_unique<QTcpServer>();
    auto listening = listenOn(*server, endpoint);
    if (!listening) return listening;
    QTcpServer& accepting = *server;
    connect(&accepting, &QTcpServer::newConnection, this,
            [this, &accepting] { accept(accepting); });
    servers_.push_back(std::move(server));
    return listening;
}

void PjlinkServer::accept(QTcpServer& server) {
    acceptUpTo(
        server, kMostClients, [this] { return clients_; },
        [this](QTcpSocket* socket, const std::string& why) {
            ledger_.refused(hostOf(socket->peerAddress()), why);
        },
        [this](QTcpSocket* socket) {
            ++clients_;
            if (!tick_.isActive()) tick_.start();
            new Client(
                socket, answers_, password_, journal_, ledger_, [this] { --clients_; },
                [this, socket] {
                    if (controller_) controller_(socket->peerAddress());
                });
        });
}

}  // namespace gateway
