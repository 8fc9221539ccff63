#include "app/mqtt/MosquittoClient.h"

#include <mosquitto.h>
#include <poll.h>

#include <QElapsedTimer>
#include <cerrno>
#include <cstring>

namespace gateway {

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kMiscMs = 1000;
constexpr int kEndMs = 1000;

std::string why(int rc) {
    std::string text = rc == MOSQ_ERR_ERRNO ? std::strerror(errno) : mosquitto_strerror(rc);
    if (text.ends_with('.')) text.pop_back();
    return text;
}

}  // namespace

MosquittoClient::MosquittoClient(Settings settings, Say say)
    : settings_(std::move(settings)), say_(std::move(say)) {
    static const int initialised = mosquitto_lib_init();
    (void)initialised;
    client_ = mosquitto_new(settings_.clientId.c_str(), true, this);
    mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(client_, connectCallback);
    mosquitto_disconnect_callback_set(client_, disconnectCallback);
    mosquitto_message_callback_set(client_, messageCallback);
    mosquitto_publish_callback_set(client_, [](struct mosquitto*, void* self, int) {
        auto* client = static_cast<MosquittoClient*>(self);
        client->unacknowledged_ = std::max(0, client->unacknowledged_ - 1);
    });
    misc_.setInterval(kMiscMs);
    connect(&misc_, &QTimer::timeout, this, [this] {
        if (!read_) return;
        mosquitto_loop_misc(client_);
        updateWrite();
    });
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] { tryConnect(false); });
}

MosquittoClient::~MosquittoClient() {
    ending_ = true;
    dropSocket();
    mosquitto_destroy(client_);
}

std::optional<std::string> MosquittoClient::start() {
    if (!settings_.user.empty() || settings_.password) {
        mosquitto_username_pw_set(client_, settings_.user.c_str(),
                                  settings_.password ? settings_.password->c_str() : nullptr);
    }
    if (!settings_.willTopic.empty()) {
        mosquitto_will_set(client_, settings_.willTopic.c_str(), 7, "offline", 1, true);
    }
    if (settings_.tls) {
        const int rc = settings_.ca.empty() ? mosquitto_tls_set(client_, nullptr, "/etc/ssl/certs",
                                                                nullptr, nullptr, nullptr)
                                            : mosquitto_tls_set(client_, settings_.ca.c_str(),
                                                                nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            return "cannot use the CA " + (settings_.ca.empty() ? "/etc/ssl/certs" : settings_.ca) +
                   " for " + settings_.url + ": " + why(rc);
        }
    }
    misc_.start();
    tryConnect(true);
    return std::nullopt;
}

void MosquittoClient::tryConnect(bool first) {
    refused_.clear();
    const int rc = first ? mosquitto_connect_async(client_, settings_.host.c_str(), settings_.port,
                                                   kKeepAliveSeconds)
                         : mosquitto_reconnect_async(client_);
    if (rc != MOSQ_ERR_SUCCESS) return lost(why(rc));
    watchSocket();
}

void MosquittoClient::watchSocket() {
    dropSocket();
    const int socket = mosquitto_socket(client_);
    if (socket < 0) return lost("no socket");
    read_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    write_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(read_.get(), &QSocketNotifier::activated, this, [this] {
        mosquitto_loop_read(client_, 1);
        updateWrite();
    });
    connect(write_.get(), &QSocketNotifier::activated, this, [this] {
        mosquitto_loop_write(client_, 1);
        updateWrite();
    });
    updateWrite();
}

void MosquittoClient::updateWrite() {
    if (write_) write_->setEnabled(mosquitto_want_write(client_));
}

void MosquittoClient::dropSocket() {
    // Possibly from within one of their own signals: let go later.
    for (auto* notifier : {&read_, &write_}) {
        if (!*notifier) continue;
        (*notifier)->setEnabled(false);
        (*notifier).release()->deleteLater();
    }
}

void MosquittoClient::lost(const std::string& reason) {
    const bool wasUp = std::exchange(up_, false);
    unacknowledged_ = 0;  // a clean session: the broker forgets them too
    dropSocket();
    if (ending_) return;
    if (wasUp) delayMs_ = 1000;
    const std::string text = "MQTT DOWN: " + settings_.url + ": " + reason + settings_.whileDown;
    // Once a loss, and once for a broker not there from the start: the tries
    // that follow say nothing until one succeeds.
    if (wasUp || said_.empty()) say_(text);
    said_ = reason;
    if (wasUp && down_) down_();
    retry_.start(delayMs_);
    delayMs_ = std::min(delayMs_ * 2, kLongestRetryMs);
}

void MosquittoClient::connectCallback(struct mosquitto*, void* self, int rc) {
    auto* client = static_cast<MosquittoClient*>(self);
    if (rc != 0) {
        client->refused_ = std::string("the broker refused: ") + mosquitto_connack_string(rc);
        return;  // the disconnection follows
    }
    client->up_ = true;
    client->delayMs_ = 1000;
    client->said_.clear();
    client->say_("MQTT CONNECTED to " + client->settings_.url + " as " +
                 client->settings_.clientId);
    // Outside libmosquitto's callback, which holds a lock that its own
    // disconnection takes again.
    QMetaObject::invokeMethod(
        client,
        [client] {
            if (client->up_ && client->connected_) client->connected_();
        },
        Qt::QueuedConnection);
}

void MosquittoClient::disconnectCallback(struct mosquitto*, void* self, int rc) {
    auto* client = static_cast<MosquittoClient*>(self);
    const std::string reason = !client->refused_.empty() ? client->refused_
                               : rc == 0                 ? std::string("closed")
                                                         : why(rc);
    client->lost(reason);
}

void MosquittoClient::messageCallback(struct mosquitto*, void* self,
                                      const mosquitto_message* message) {
    auto* client = static_cast<MosquittoClient*>(self);
    if (client->ending_ || !client->message_ || !message->topic) return;
    client->message_(message->topic,
                     QByteArray(static_cast<const char*>(message->payload), message->payloadlen));
}

void MosquittoClient::publish(const std::string& topic, const QByteArray& payload, bool retain) {
    if (!up_) return;
    if (mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                          payload.constData(), 1, retain) == MOSQ_ERR_SUCCESS) {
        ++unacknowledged_;
    }
    updateWrite();
}

void MosquittoClient::subscribe(const std::string& topic) {
    if (!up_) return;
    mosquitto_subscribe(client_, nullptr, topic.c_str(), 1);
    updateWrite();
}

void MosquittoClient::end() {
    ending_ = true;
    retry_.stop();
    misc_.stop();
    if (!up_) return dropSocket();
    if (!settings_.willTopic.empty()) publish(settings_.willTopic, "offline", true);
    dropSocket();
    // The event loop is over. A broker reads no further than a message it
    // cannot acknowledge, so each is acknowledged before the goodbye; the
    // broker is given a second for all of it.
    QElapsedTimer elapsed;
    elapsed.start();
    while (unacknowledged_ > 0 && elapsed.elapsed() < kEndMs) {
        if (mosquitto_loop(client_, 100, 1) != MOSQ_ERR_SUCCESS) break;
    }
    mosquitto_disconnect(client_);
    while (mosquitto_socket(client_) >= 0 && mosquitto_want_write(client_) &&
           elapsed.elapsed() < kEndMs) {
        pollfd socket{mosquitto_socket(client_), POLLOUT, 0};
        poll(&socket, 1, static_cast<int>(kEndMs - elapsed.elapsed()));
        if (mosquitto_loop_write(client_, 1) != MOSQ_ERR_SUCCESS) break;
    }
    up_ = false;
}

}  // namespace gateway
