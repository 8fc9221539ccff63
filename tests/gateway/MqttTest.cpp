// The MQTT front end without a broker: what a message to the gateway's
// topics asks for, the discovery documents and their removal, and the
// bridge on the fake toolkit with a session that records what it is given.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <set>

#include "QueueFixture.h"
#include "app/mqtt/Bridge.h"
#include "app/mqtt/Discovery.h"
#include "app/mqtt/Requests.h"
#include "mqtt/Entities.h"

namespace {

using gateway::Request;

QJsonObject objectOf(const QByteArray& payload) {
    return QJsonDocument::fromJson(payload).object();
}

const mqtt::Topics kTopics{"kr60p/hall-3"};

}  // namespace

TEST(MqttRequests, APayloadIsACommandACodeOrAReason) {
    using Kind = mqtt::Route::Kind;
    const struct {
        mqtt::Route route;
        const char* payload;
        const char* command;
        const char* code;
        const char* outcome;  // "", "malformed" or "unknown"
    } cases[] = {
        {{Kind::Set, {}}, R"({"command": "volume-up"})", "volume-up", "", ""},
        {{Kind::Set, {}}, R"({"power": "on", "correlation": 7})", "power-on", "", ""},
        {{Kind::Set, {}}, R"({"input": "Video"})", "input-video", "", ""},
        {{Kind::Set, {}}, R"({"code": "CR0"})", "", "CR0", ""},
        {{Kind::Set, {}}, R"({"code": ""})", "", "", "malformed"},
        {{Kind::Set, {}}, R"({"command": "warp"})", "", "", "unknown"},
        {{Kind::Set, {}}, R"({"warp": "ON"})", "", "", "unknown"},
        {{Kind::Set, {}}, R"({"power": "ON", "input": "PC1"})", "", "", "malformed"},
        {{Kind::Set, {}}, R"({"power": true})", "", "", "malformed"},
        {{Kind::Set, {}}, R"(["power"])", "", "", "malformed"},
        {{Kind::Set, {}}, "power-on", "", "", "malformed"},
        {{Kind::Command, {}}, " menu-on\n", "menu-on", "", ""},
        {{Kind::Command, {}}, R"({"command": "menu-off", "correlation": "a"})", "menu-off", "", ""},
        {{Kind::Command, {}}, R"({"name": "menu-off"})", "", "", "malformed"},
        {{Kind::Command, {}}, "", "", "", "unknown"},
        {{Kind::Control, "sound-mute"}, "ON", "mute-on", "", ""},
        {{Kind::Control, "sound-mute"}, "LOUD", "", "", "malformed"},
        {{Kind::Control, "warp"}, "ON", "", "", "unknown"},
    };
    for (const auto& c : cases) {
        const Request request = gateway::readRequest(c.route, c.payload);
        EXPECT_EQ(request.command, c.command) << c.payload;
        EXPECT_EQ(request.code, c.code) << c.payload;
        const std::string outcome = request.error.empty() ? ""
                                    : request.unknown     ? "unknown"
                                                          : "malformed";
        EXPECT_EQ(outcome, c.outcome) << c.payload << ": " << request.error;
    }
    // The correlation comes back as it was sent, and only when sent.
    const mqtt::Route set{Kind::Set, {}};
    EXPECT_EQ(gateway::readRequest(set, R"({"power":"ON","correlation":{"job":7}})")
                  .correlation.toObject()["job"]
                  .toInt(),
              7);
    EXPECT_TRUE(
        gateway::readRequest(set, R"({"warp":"ON","correlation":null})").correlation.isNull());
    EXPECT_TRUE(gateway::readRequest({Kind::Command, {}}, "warp").correlation.isUndefined());
}

TEST(MqttDiscovery, OneDocumentAnEntityWithItsDeviceAndTheBridgesAvailability) {
    gateway::Device device{"Hall 3", "ORVA", "KR60P", "KR60P Ver1.40", "http://hall-3:8080/"};
    const auto documents = gateway::discoveryDocuments(kTopics, "homeassistant", device);
    ASSERT_EQ(documents.size(), mqtt::entities().size());
    std::set<QString> ids;
    for (const gateway::Message& document : documents) {
        const QJsonObject config = objectOf(document.payload);
        EXPECT_TRUE(document.topic.starts_with("homeassistant/")) << document.topic;
        EXPECT_TRUE(document.topic.ends_with("/config")) << document.topic;
        EXPECT_TRUE(ids.insert(config["unique_id"].toString()).second) << document.topic;
        EXPECT_EQ(config["device"]["configuration_url"].toString(), "http://hall-3:8080/");
        EXPECT_EQ(config["device"]["sw_version"].toString(), "KR60P Ver1.40");
        EXPECT_EQ(config["availability"][0]["topic"].toString(), "kr60p/hall-3/availability");
    }
    // A device without a page or a version yet says neither.
    device.version.reset();
    device.pageUrl.reset();
    const QJsonObject first =
        objectOf(gateway::discoveryDocuments(kTopics, "homeassistant", device).front().payload);
    EXPECT_FALSE(first["device"].toObject().contains("configuration_url"));
    EXPECT_FALSE(first["device"].toObject().contains("sw_version"));

    // Taking it out of service clears every document and the retained topics.
    std::set<std::string> cleared;
    for (const gateway::Message& message : gateway::removal(kTopics, "homeassistant")) {
        EXPECT_TRUE(message.payload.isEmpty());
        cleared.insert(message.topic);
    }
    for (const gateway::Message& document : documents) EXPECT_TRUE(cleared.count(document.topic));
    EXPECT_TRUE(cleared.count(kTopics.state()));
    EXPECT_TRUE(cleared.count(kTopics.availability()));
}

namespace {

class Session : public gateway::MqttSession {
  public:
    struct Sent {
        std::string topic;
        QByteArray payload;
        bool retain;
    };
    void publish(const std::string& topic, const QByteArray& payload, bool retain) override {
        sent.push_back({topic, payload, retain});
    }
    void subscribe(const std::string& topic) override { subscribed.push_back(topic); }
    std::vector<Sent> on(const std::string& topic) const {
        std::vector<Sent> found;
        for (const Sent& each : sent) {
            if (each.topic == topic) found.push_back(each);
        }
        return found;
    }
    std::vector<Sent> sent;
    std::vector<std::string> subscribed;
};

class MqttBridge : public QueueFixture {
  protected:
    MqttBridge() {
        for (fake::Timer* timer : {&probe, &poll, &pace}) clock.add(timer);
        link.addListener(line);
        link.addListener(state);
    }
    // The line asks, and the projector answers.
    void heard(const std::string& query, const std::string& reply) {
        line.query(query, [](const projector::Answer&) {});
        ASSERT_EQ(wire(), std::vector<std::string>{query + "\r"});
        port.deliver(reply + "\r");
    }
    fake::Timer probe{clock, 0}, poll{clock, 0}, pace{clock, 0};
    projector::SharedLine line{queue, [this] { return clock.now(); }, probe};
    projector::ProjectorState state{line, poll, [this] { return clock.now(); },
                                    [this] { return std::to_string(clock.now()); }};
    Session session;
    gateway::Bridge bridge{{line,
                            state,
                            "/dev/ttyUSB0",
                            kTopics,
                            "homeassistant",
                            {"Hall 3", "ORVA", "KR60P", {}, {}},
                            pace,
                            [this] { return clock.now(); }},
                           session};
};

}  // namespace

TEST_F(MqttBridge, ConnectedItSaysOnlineSubscribesAndPublishesDiscoveryAndTheState) {
    bridge.connected();
    ASSERT_FALSE(session.sent.empty());
    EXPECT_EQ(session.sent.front().topic, kTopics.availability());
    EXPECT_EQ(session.sent.front().payload, "online");
    EXPECT_TRUE(session.sent.front().retain);
    EXPECT_EQ(session.subscribed,
              (std::vector<std::string>{"kr60p/hall-3/set", "kr60p/hall-3/+/set",
                                        "kr60p/hall-3/command", "homeassistant/status"}));
    EXPECT_EQ(session.sent.size(), 1 + mqtt::entities().size() + 1);
    EXPECT_TRUE(session.on(kTopics.state()).at(0).retain);

    // Home Assistant started again reads it all anew; anything else on its
    // status topic is nothing.
    session.sent.clear();
    bridge.message("homeassistant/status", "offline");
    EXPECT_TRUE(session.sent.empty());
    bridge.message("homeassistant/status", "online");
    EXPECT_EQ(session.sent.size(), mqtt::entities().size() + 1);
}

TEST_F(MqttBridge, TheStateGoesWhenItChangesAtMostOnceASecond) {
    bridge.connected();
    session.sent.clear();
    const auto states = [this] { return session.on(kTopics.state()); };
    heard("CR0", "80");  // standby: at once
    ASSERT_EQ(states().size(), 1u);
    // Within the second: one message at its end, with the last of it.
    heard("CR1", "2");
    heard("CR3", "01234");
    heard("CR6", "+25.0 +30.0 +35.0");
    EXPECT_EQ(states().size(), 1u);
    clock.advance(gateway::kStatePaceMs);
    ASSERT_EQ(states().size(), 2u);
    const QJsonObject last = objectOf(states().back().payload);
    EXPECT_EQ(last["readings"]["lamp-time"]["hours"].toInt(), 1234);
    EXPECT_EQ(last["readings"]["temperatures"]["temperatures"][2].toDouble(), 35.0);
    // Read again the same, later: the times are newer, the state is not.
    clock.advance(2 * std::int64_t{gateway::kStatePaceMs});
    heard("CR3", "01234");
    clock.advance(gateway::kStatePaceMs);
    EXPECT_EQ(states().size(), 2u);
    // The measures moved alone: once a minute after the last message.
    heard("CR6", "+25.5 +30.0 +35.0");
    clock.advance(gateway::kStatePaceMs);
    EXPECT_EQ(states().size(), 2u);
    clock.advance(gateway::kMeasuresEveryMs);
    ASSERT_EQ(states().size(), 3u);
    const QJsonObject moved = objectOf(states().back().payload);
    EXPECT_EQ(moved["readings"]["temperatures"]["temperatures"][0].toDouble(), 25.5);
    // Not connected, nothing; connected again, the state of now.
    bridge.disconnected();
    heard("CR3", "01240");
    clock.advance(gateway::kStatePaceMs);
    EXPECT_EQ(states().size(), 3u);
    bridge.connected();
    const QJsonObject now = objectOf(states().back().payload);
    EXPECT_EQ(now["readings"]["lamp-time"]["hours"].toInt(), 1240);
}

TEST_F(MqttBridge, ACommandRefusedOrUnknownIsAnsweredAndNothingGoes) {
    bridge.connected();
    session.sent.clear();
    bridge.message("kr60p/hall-3/command", R"({"command": "warp", "correlation": 9})");
    bridge.message("kr60p/hall-3/input/set", "Laser");
    bridge.message("kr60p/hall-3/volume-up/set", "ON");
    const auto responses = session.on(kTopics.response());
    ASSERT_EQ(responses.size(), 3u);
    const QJsonObject unknown = objectOf(responses[0].payload);
    EXPECT_EQ(unknown["outcome"].toString(), "unknown");
    EXPECT_EQ(unknown["correlation"].toInt(), 9);
    EXPECT_EQ(unknown["topic"].toString(), "kr60p/hall-3/command");
    EXPECT_EQ(objectOf(responses[1].payload)["outcome"].toString(), "malformed");
    EXPECT_EQ(objectOf(responses[2].payload)["outcome"].toString(), "unknown");
    EXPECT_FALSE(responses[0].retain);

    // volume-up in standby: the power state is read, and nothing else goes.
    port.writes.clear();
    bridge.message("kr60p/hall-3/set", R"({"command": "volume-up"})");
    clock.advance(0);
    ASSERT_EQ(wire(), (std::vector<std::string>{"CR0\r"}));
    port.deliver("80\r");
    clock.advance(1000);
    for (const std::string& line : wire()) EXPECT_TRUE(line.starts_with("CR")) << line;
    const QJsonObject refused = objectOf(session.on(kTopics.response()).back().payload);
    EXPECT_EQ(refused["outcome"].toString(), "refused");
    EXPECT_FALSE(refused["error"].toString().isEmpty());
}
