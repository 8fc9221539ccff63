#pragma once
// The gateway's connection to an MQTT broker on libmosquitto, driven from
// the event loop: its socket read and written when Qt says it can be, its
// keep-alive on a timer, no thread of its own. A broker away at start or
// lost later is tried again, waiting longer each time up to a minute, and
// each change is said once.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/mqtt/Bridge.h"

struct mosquitto;
struct mosquitto_message;

namespace gateway {

// The longest wait between two tries.
inline constexpr int kLongestRetryMs = 60'000;

class MosquittoClient : public QObject, public MqttSession {
  public:
    struct Settings {
        std::string url;  // as given, for the log
        std::string host;
        int port = 1883;
        bool tls = false;
        std::string ca;  // a CA file for mqtts://; the system's without one
        std::string user;
        std::optional<std::string> password;
        std::string clientId;
        std::string willTopic;  // offline there, retained, should the gateway vanish or end
        std::string whileDown;  // said after each loss: what goes on meanwhile
    };
    using Say = std::function<void(const std::string&)>;

    MosquittoClient(Settings settings, Say say);
    MosquittoClient(const MosquittoClient&) = delete;
    MosquittoClient& operator=(const MosquittoClient&) = delete;
    ~MosquittoClient() override;

    void onConnected(std::function<void()> handler) { connected_ = std::move(handler); }
    void onDown(std::function<void()> handler) { down_ = std::move(handler); }
    void onMessage(std::function<void(const std::string&, const QByteArray&)> handler) {
        message_ = std::move(handler);
    }

    // Why it cannot even begin (a CA file that cannot be read, say).
    std::optional<std::string> start();
    // An orderly end: offline published on the will's topic, the connection
    // closed, waiting for the broker a second at most.
    void end();
    bool up() const { return up_; }

    void publish(const std::string& topic, const QByteArray& payload, bool retain) override;
    void subscribe(const std::string& topic) override;

  private:
    static void connectCallback(struct mosquitto*, void* self, int rc);
    static void disconnectCallback(struct mosquitto*, void* self, int rc);
    static void messageCallback(struct mosquitto*, void* self, const mosquitto_message* message);

    void tryConnect(bool first);
    void watchSocket();
    void dropSocket();
    void updateWrite();
    void lost(const std::string& why);

    Settings settings_;
    Say say_;
    struct mosquitto* client_ = nullptr;
    std::unique_ptr<QSocketNotifier> read_, write_;
    QTimer misc_, retry_;
    int delayMs_ = 1000;
    int unacknowledged_ = 0;  // messages published, the broker's PUBACK awaited
    bool up_ = false;
    bool ending_ = false;
    std::string refused_;  // the broker's reason, when it refused the connection
    std::string said_;     // the last change said
    std::function<void()> connected_, down_;
    std::function<void(const std::string&, const QByteArray&)> message_;
};

}  // namespace gateway
