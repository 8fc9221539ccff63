#include "app/http/Events.h"

#include <QRandomGenerator>

namespace gateway {

namespace {

QByteArray sseEvent(const char* name, const QByteArray& data) {
    return QByteArray("event: ") + name + "\ndata: " + data + "\n\n";
}

}  // namespace

Events::Events(projector::ProjectorState& state, Status status, Gone gone)
    : state_(state), status_(std::move(status)), gone_(std::move(gone)) {
    soon_.setSingleShot(true);
    soon_.setInterval(50);
    connect(&soon_, &QTimer::timeout, this, [this] { push(sseEvent("state", status_())); });
    heartbeat_.setInterval(15'000);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { push(": still here\n\n"); });
    state_.onChange([this](std::optional<projector::Field>) { pushSoon(); });
}

Events::~Events() {
    for (auto& [id, socket] : streams_) {
        if (socket) socket->disconnect(this);
    }
}

bool Events::open(const Call& call) {
    if (!call.socket || streams_.size() >= kMostStreams) return false;
    const std::string id =
        std::to_string(++next_) + "-" +
        QString::number(QRandomGenerator::system()->generate(), 16).toStdString();
    QTcpSocket* socket = call.socket;
    socket->write(
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
        "X-Accel-Buffering: no\r\n\r\n");
    socket->write(sseEvent("hello", "{\"stream\":\"" + QByteArray::fromStdString(id) + "\"}"));
    socket->write(sseEvent("state", status_()));
    streams_[id] = socket;
    state_.watch();
    // What is not known yet, or is old, is asked now rather than in the poll's turn.
    state_.refresh(projector::kStatePollMs, [self = QPointer<Events>(this)] {
        if (self) self->pushSoon();
    });
    heartbeat_.start();
    connect(socket, &QObject::destroyed, this, [this, id] {
        streams_.erase(id);
        state_.unwatch();
        if (streams_.empty()) heartbeat_.stop();
        gone_(id);
    });
    return true;
}

void Events::pushSoon() {
    if (!streams_.empty() && !soon_.isActive()) soon_.start();
}

void Events::push(const QByteArray& bytes) {
    for (auto& [id, socket] : streams_) {
        if (socket && socket->state() == QAbstractSocket::ConnectedState) socket->write(bytes);
    }
}

}  // namespace gateway
