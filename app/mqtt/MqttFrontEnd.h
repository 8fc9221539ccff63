#pragma once
// The gateway's MQTT front end: its broker connection and its bridge,
// wired together, and the one-shot that takes a projector out of service.

#include <functional>
#include <optional>
#include <string>

#include "app/mqtt/Bridge.h"
#include "app/mqtt/MosquittoClient.h"
#include "qt/QtTimer.h"

namespace gateway {

struct MqttSettings {
    MosquittoClient::Settings client;  // its will set here from the topics
    mqtt::Topics topics;
    std::string discoveryPrefix;  // empty: no discovery
    Device identity;
    std::string device;  // as the state object names it
};

class MqttFrontEnd {
  public:
    // Lives no longer than the line and the state it is given.
    MqttFrontEnd(projector::SharedLine& line, projector::ProjectorState& state,
                 std::function<std::int64_t()> now, MqttSettings settings,
                 MosquittoClient::Say say);

    // Why it cannot even begin; the broker itself may come later.
    std::optional<std::string> start() { return client_.start(); }
    void end() { client_.end(); }

  private:
    toolkit::qt::QtTimer pace_;
    MosquittoClient client_;
    Bridge bridge_;
};

// Connects, clears every retained message the gateway left on the broker
// (discovery, state, availability), and ends: 0 when done, 1 when the
// broker could not be reached in time (said through say).
int takeOutOfService(MqttSettings settings, const MosquittoClient::Say& say);

}  // namespace gateway
