#include "app/servers/Connection.h"

#include <QHostAddress>
#include <QTimer>
#include <utility>

namespace gateway {

namespace {

// Bytes Qt reads from the system ahead of the gateway: beyond it, the
// client's own sending is held back.
constexpr qint64 kReadAhead = 4096;
constexpr int kClosingMs = 5000;

std::string addressOf(const QTcpSocket& socket) {
    const QHostAddress address = socket.peerAddress();
    bool v4 = false;
    const quint32 ipv4 = address.toIPv4Address(&v4);
    const QString host = v4 ? QHostAddress(ipv4).toString() : "[" + address.toString() + "]";
    return (host + ":" + QString::number(socket.peerPort())).toStdString();
}

}  // namespace

void acceptUpTo(QTcpServer& server, std::size_t most, const std::function<std::size_t()>& open,
                const std::function<void(QTcpSocket*, const std::string& why)>& refuse,
                const std::function<void(QTcpSocket*)>& take) {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        if (open() < most) {
            take(socket);
            continue;
        }
        refuse(socket, std::to_string(most) + " clients are connected already");
        // What was said goes out before the close.
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState) {
            socket->deleteLater();
            continue;
        }
        QTimer::singleShot(1000, socket, [socket] { socket->abort(); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void closeQuietly(QObject& server) {
    for (QTcpSocket* socket : server.findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        socket->disconnect();
        socket->abort();
    }
}

Connection::Connection(QTcpSocket* socket)
    : QObject(socket), socket_(socket), peer_(addressOf(*socket)) {
    socket->setReadBufferSize(kReadAhead);
    // Answers are a line each, awaited one by one: none waits for the last one's ACK.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &Connection::readSome);
    connect(socket, &QTcpSocket::disconnected, this, [this] { cut("closed by the client"); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError) {
            cut(socket_ ? socket_->errorString().toStdString() : "connection error");
        }
    });
}

void Connection::readSome() {
    while (!over_ && socket_ && heard_ && waiting_.size() < kWaitingLimit &&
           socket_->bytesAvailable() > 0) {
        heard_(socket_->read(kReadAhead).toStdString());
    }
}

Connection::Place Connection::reserve() {
    waiting_.emplace_back();
    return next_++;
}

void Connection::fill(Place place, const std::string& bytes) {
    if (over_ || place < first_ || place - first_ >= waiting_.size()) return;
    waiting_[place - first_] = bytes;
    flush();
}

void Connection::say(const std::string& bytes) {
    fill(reserve(), bytes);
}

void Connection::interject(const std::string& bytes) {
    if (!over_) write(bytes);
}

void Connection::flush() {
    while (!waiting_.empty() && waiting_.front()) {
        const std::string bytes = std::move(*waiting_.front());
        waiting_.pop_front();
        ++first_;
        write(bytes);
        if (over_) return;
    }
    // Room again for what the client has sent meanwhile.
    if (waiting_.size() < kWaitingLimit)
        QMetaObject::invokeMethod(this, &Connection::readSome, Qt::QueuedConnection);
}

void Connection::write(const std::string& bytes) {
    if (!socket_) return;
    socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (socket_->bytesToWrite() > kUnreadLimit) cut("cut off: it does not read its answers");
}

void Connection::finish(const std::string& why) {
    if (over_ || !socket_) return;
    over_ = true;
    if (closed_) closed_(why);
    // A client that takes nothing more is not waited for long.
    QTimer::singleShot(kClosingMs, socket_, [socket = socket_] { socket->abort(); });
    connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
    socket_->disconnectFromHost();
}

void Connection::cut(const std::string& why) {
    if (over_ || !socket_) return;
    over_ = true;
    if (closed_) closed_(why);
    socket_->abort();
    socket_->deleteLater();
}

}  // namespace gateway
