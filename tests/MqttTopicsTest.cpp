// The gateway's topics and Home Assistant's entities as data: a topic base
// from a name, what a base cannot be, where a message goes by its topic,
// a control's payload read as a catalogue command, and the entity table
// held to the catalogue.

#include <gtest/gtest.h>

#include <set>

#include "mqtt/Entities.h"
#include "mqtt/Topics.h"
#include "vocabulary/Commands.h"

TEST(MqttTopics, ANameBecomesOneTopicLevel) {
    const std::pair<const char*, const char*> cases[] = {
        {"Hall 3", "kr60p/hall-3"},     {"  Aula  B / left+#1 ", "kr60p/aula-b-left-1"},
        {"room_2-b", "kr60p/room_2-b"}, {"Salle été", "kr60p/salle-\xc3\xa9t\xc3\xa9"},
        {"///", "kr60p/projector"},
    };
    for (const auto& [name, base] : cases) {
        EXPECT_EQ(mqtt::defaultBase(name), base) << name;
        EXPECT_FALSE(mqtt::baseFault(mqtt::defaultBase(name))) << name;
    }
    EXPECT_EQ(mqtt::identifierOf("kr60p/hall 3+"), "kr60p_hall_3_");
}

TEST(MqttTopics, ABaseCannotBeAWildcardAnEmptyLevelOrTheBrokers) {
    for (const char* base : {"", "kr60p/#", "kr60p/+/x", "/kr60p", "kr60p/", "a//b", "$SYS/x"}) {
        EXPECT_TRUE(mqtt::baseFault(base)) << base;
    }
    for (const char* base : {"kr60p/hall-3", "building/floor 2/projector", "x"}) {
        EXPECT_FALSE(mqtt::baseFault(base)) << base;
    }
}

TEST(MqttTopics, AMessageGoesWhereItsTopicSays) {
    using Kind = mqtt::Route::Kind;
    const mqtt::Topics topics{"kr60p/hall-3"};
    const struct {
        const char* topic;
        Kind kind;
        const char* control;
    } cases[] = {
        {"kr60p/hall-3/set", Kind::Set, ""},
        {"kr60p/hall-3/command", Kind::Command, ""},
        {"kr60p/hall-3/power/set", Kind::Control, "power"},
        {"kr60p/hall-3/a/b/set", Kind::None, ""},
        {"kr60p/hall-3//set", Kind::None, ""},
        {"kr60p/hall-3/state", Kind::None, ""},
        {"kr60p/hall-30/power/set", Kind::None, ""},
        {"homeassistant/status", Kind::HomeAssistant, ""},
    };
    for (const auto& c : cases) {
        const mqtt::Route route = mqtt::routeOf(topics, "homeassistant", c.topic);
        EXPECT_EQ(route.kind, c.kind) << c.topic;
        EXPECT_EQ(route.control, c.control) << c.topic;
    }
    // Without discovery, Home Assistant's status is nobody's.
    EXPECT_EQ(mqtt::routeOf(topics, "", "homeassistant/status").kind, Kind::None);
}

TEST(MqttEntities, AControlsPayloadIsACatalogueCommandOrAReason) {
    const struct {
        const char* control;
        const char* payload;
        const char* command;  // empty: refused
    } cases[] = {
        {"power", "ON", "power-on"},
        {"power", "off", "power-off"},
        {"power", " On\n", "power-on"},
        {"power", "toggle", ""},
        {"input", "pc2", "input-pc2"},
        {"input", "Laser", ""},
        {"freeze", "ON", "freeze-on"},
        {"picture-mode", "image 3", "picture-image3"},
        {"warp", "ON", ""},
        {"volume-up", "PRESS", ""},
        {"lamp-hours", "5", ""},
        {"fan-problem", "ON", ""},
    };
    for (const auto& c : cases) {
        const auto command = mqtt::commandFor(c.control, c.payload);
        if (*c.command) {
            ASSERT_TRUE(command) << c.control << " " << c.payload;
            EXPECT_EQ(*command, c.command);
        } else {
            ASSERT_FALSE(command) << c.control << " " << c.payload;
            EXPECT_NE(command.error().find(c.control), std::string::npos) << command.error();
        }
    }
}

TEST(MqttEntities, EveryEntityIsOnceAndSendsWhatTheCatalogueHas) {
    std::set<std::string_view> objects;
    for (const mqtt::Entity& entity : mqtt::entities()) {
        EXPECT_TRUE(objects.insert(entity.object).second) << entity.object;
        if (entity.component == mqtt::Component::Button) {
            EXPECT_TRUE(projector::commandNamed(std::string(entity.object))) << entity.object;
        }
        for (const mqtt::Choice& choice : entity.choices) {
            if (choice.command.empty()) continue;
            EXPECT_TRUE(projector::commandNamed(std::string(choice.command))) << choice.command;
        }
        if (!entity.query.empty()) {
            EXPECT_TRUE(projector::commandNamed(std::string(entity.query))) << entity.query;
        }
        const bool stateless = entity.component == mqtt::Component::Button ||
                               (entity.component == mqtt::Component::Select &&
                                entity.query.empty() && entity.key.empty());
        EXPECT_EQ(mqtt::valueTemplate(entity).empty(), stateless) << entity.object;
    }
}
