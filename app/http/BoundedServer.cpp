#include "app/http/BoundedServer.h"

#include <QSslSocket>
#include <QTimer>
#include <memory>

#include "web/RequestBounds.h"

namespace gateway {

namespace {

void refuse(QTcpSocket* socket, const QByteArray& status, const QByteArray& why) {
    const QByteArray body = "{\"status\":" + status.left(3) + ",\"error\":\"" + why + "\"}";
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

// Watches the bytes as they come, ahead of the HTTP server's reading, and
// the time the connection stands idle.
void bound(QTcpSocket* socket) {
    socket->setReadBufferSize(static_cast<qint64>(web::kMostHeadBytes) +
                              static_cast<qint64>(web::kMostBodyBytes));
    auto bounds = std::make_shared<web::RequestBounds>();
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(kWebIdleMs);
    QObject::connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
    idle->start();
    QObject::connect(socket, &QTcpSocket::bytesWritten, idle, [idle] { idle->start(); });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, bounds, idle] {
        idle->start();
        const QByteArray seen = socket->peek(socket->bytesAvailable());
        const auto verdict = bounds->take(std::string_view(seen.constData(), seen.size()));
        if (verdict == web::RequestBounds::Verdict::Within) return;
        socket->read(socket->bytesAvailable());  // nobody reads any of it
        if (verdict == web::RequestBounds::Verdict::HeadTooLarge) {
            refuse(socket, "431 Request Header Fields Too Large",
                   "a request line and headers longer than 8 KiB");
        } else {
            refuse(socket, "413 Content Too Large",
                   "a body longer than 16 KiB, or of no length given ahead");
        }
    });
}

}  // namespace

void BoundedServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    const QString host = socket->peerAddress().toString();
    if (open_ >= kMostWebConnections || byHost_[host] >= kMostWebConnectionsPerHost) {
        refuse(socket, "503 Service Unavailable", "too many connections at once");
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        return;
    }
    ++open_;
    ++byHost_[host];
    connect(socket, &QObject::destroyed, this, [this, host] {
        --open_;
        if (--byHost_[host] == 0) byHost_.erase(host);
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    bound(socket);
    if (tls_) {
        socket->setLocalCertificate(tls_->certificate);
        socket->setPrivateKey(tls_->key);
        socket->startServerEncryption();
    }
    addPendingConnection(socket);
}

}  // namespace gateway
