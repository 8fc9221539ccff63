#include "app/mqtt/MqttFrontEnd.h"

#include <QEventLoop>
#include <QTimer>

namespace gateway {

namespace {

constexpr int kRemovalMs = 10'000;

MosquittoClient::Settings withWill(MosquittoClient::Settings client, const mqtt::Topics& topics) {
    client.willTopic = topics.availability();
    return client;
}

}  // namespace

MqttFrontEnd::MqttFrontEnd(projector::SharedLine& line, projector::ProjectorState& state,
                           std::function<std::int64_t()> now, MqttSettings settings,
                           MosquittoClient::Say say)
    : pace_(nullptr, "MqttStatePace", kStatePaceMs),
      client_(withWill(std::move(settings.client), settings.topics), std::move(say)),
      bridge_({line, state, std::move(settings.device), std::move(settings.topics),
               std::move(settings.discoveryPrefix), std::move(settings.identity), pace_,
               std::move(now)},
              client_) {
    client_.onConnected([this] { bridge_.connected(); });
    client_.onDown([this] { bridge_.disconnected(); });
    client_.onMessage([this](const std::string& topic, const QByteArray& payload) {
        bridge_.message(topic, payload);
    });
}

int takeOutOfService(MqttSettings settings, const MosquittoClient::Say& say) {
    // Not the gateway's own client id, which the broker would take from a
    // gateway still running; no will, which would put availability back.
    settings.client.clientId += "-removal";
    settings.client.willTopic.clear();
    settings.client.whileDown =
        "; tried again until " + std::to_string(kRemovalMs / 1000) + " s have gone";
    MosquittoClient client(settings.client, say);
    QEventLoop loop;
    int status = 1;
    client.onConnected([&] {
        for (const Message& message : removal(settings.topics, settings.discoveryPrefix)) {
            client.publish(message.topic, message.payload, true);
        }
        client.end();
        say("MQTT REMOVED " + settings.topics.base + " and its Home Assistant device from " +
            settings.client.url);
        status = 0;
        loop.quit();
    });
    if (const auto why = client.start()) {
        say("MQTT: " + *why);
        return 1;
    }
    QTimer::singleShot(kRemovalMs, &loop, [&] {
        say("MQTT: " + settings.client.url + " was not reached in " +
            std::to_string(kRemovalMs / 1000) + " s; nothing was removed");
        loop.quit();
    });
    loop.exec();
    return status;
}

}  // namespace gateway
