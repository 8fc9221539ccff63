#pragma once
// The projector on an MQTT broker: availability, the state retained as one
// JSON object and published when it changes (at most once a second, and
// once a minute when only measures moved), Home
// Assistant's discovery, and commands read from the gateway's topics, each
// answered on BASE/response. The broker's connection is the session's; the
// bridge says what goes on it.

#include <QByteArray>
#include <QJsonObject>
#include <cstdint>
#include <functional>
#include <string>

#include "app/mqtt/Discovery.h"
#include "link/ProjectorState.h"
#include "link/SharedLine.h"
#include "mqtt/Topics.h"
#include "toolkit/Controls.h"

namespace gateway {

class MqttSession {
  public:
    virtual ~MqttSession() = default;
    // Nothing when not connected: what matters is published again on connect.
    virtual void publish(const std::string& topic, const QByteArray& payload, bool retain) = 0;
    virtual void subscribe(const std::string& topic) = 0;
};

// At most one state message in this time; a change within it waits its end.
inline constexpr int kStatePaceMs = 1000;
// A state in which only the temperatures, the pressure or the lamp hours
// moved waits this long after the last message: they wander by tenths on
// every reading, or count on.
inline constexpr std::int64_t kMeasuresEveryMs = 60'000;

class Bridge {
  public:
    struct Parts {
        projector::SharedLine& line;
        projector::ProjectorState& state;
        std::string device;
        mqtt::Topics topics;
        std::string discoveryPrefix;  // empty: no discovery
        Device identity;
        toolkit::Timer& pace;
        std::function<std::int64_t()> now;  // milliseconds, for the measures' wait
    };
    Bridge(Parts parts, MqttSession& session);
    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;
    ~Bridge();

    // The broker's connection made: online, subscriptions, discovery, state.
    void connected();
    void disconnected() { up_ = false; }
    void message(const std::string& topic, const QByteArray& payload);

  private:
    void changed(std::optional<projector::Field> field);
    void publishState();
    void publishDiscovery();
    void respond(QJsonObject object, const std::string& topic, const QJsonValue& correlation);

    Parts p_;
    MqttSession& session_;
    bool up_ = false;
    bool pending_ = false;
    bool measuresPending_ = false;  // moved measures waiting their minute
    QByteArray lastState_, lastSteady_;
    std::int64_t lastPublishedMs_ = 0;
};

}  // namespace gateway
