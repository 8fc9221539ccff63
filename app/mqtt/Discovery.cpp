#include "app/mqtt/Discovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/ReadingJson.h"
#include "mqtt/Entities.h"

namespace gateway {

namespace {

using app::q;
using mqtt::Component;

std::string topicOf(const mqtt::Topics& topics, const std::string& prefix,
                    const mqtt::Entity& entity) {
    return prefix + "/" + std::string(mqtt::componentName(entity.component)) + "/" +
           mqtt::identifierOf(topics.base) + "/" + std::string(entity.object) + "/config";
}

QJsonObject deviceBlock(const mqtt::Topics& topics, const Device& device) {
    QJsonObject block{{"identifiers", QJsonArray{q(mqtt::identifierOf(topics.base))}},
                      {"name", q(device.name)},
                      {"model", q(device.model)},
                      {"manufacturer", q(device.maker)}};
    if (device.version) block["sw_version"] = q(*device.version);
    if (device.pageUrl) block["configuration_url"] = q(*device.pageUrl);
    return block;
}

QJsonArray availability(const mqtt::Topics& topics, bool needsProjector) {
    QJsonArray list{QJsonObject{{"topic", q(topics.availability())}}};
    if (needsProjector) {
        list.append(QJsonObject{
            {"topic", q(topics.state())},
            {"value_template",
             "{{ 'online' if value_json.reachable and value_json.answering else 'offline' }}"}});
    }
    return list;
}

void setIf(QJsonObject& object, const char* key, std::string_view value) {
    if (!value.empty()) object[key] = q(value);
}

QJsonObject document(const mqtt::Topics& topics, const mqtt::Entity& entity,
                     const QJsonObject& device, const QJsonObject& origin) {
    QJsonObject object{
        {"name", q(entity.name)},
        {"unique_id", q(mqtt::identifierOf(topics.base) + "_" + std::string(entity.object))},
        {"availability", availability(topics, entity.needsProjector)},
        {"availability_mode", "all"},
        {"device", device},
        {"origin", origin},
        {"qos", 1}};
    if (const std::string value = mqtt::valueTemplate(entity); !value.empty()) {
        object["state_topic"] = q(topics.state());
        object["value_template"] = q(value);
    }
    switch (entity.component) {
        case Component::Button:
            object["command_topic"] = q(topics.command());
            object["payload_press"] = q(entity.object);
            break;
        case Component::Switch:
            object["command_topic"] = q(topics.control(entity.object));
            object["payload_on"] = "ON";
            object["payload_off"] = "OFF";
            break;
        case Component::Select:
            object["command_topic"] = q(topics.control(entity.object));
            break;
        case Component::Sensor:
        case Component::BinarySensor:
            break;
    }
    if (const auto options = mqtt::optionsOf(entity); !options.empty()) {
        QJsonArray list;
        for (const std::string& option : options) list.append(q(option));
        object["options"] = list;
    }
    setIf(object, "device_class", entity.look.deviceClass);
    setIf(object, "unit_of_measurement", entity.look.unit);
    setIf(object, "state_class", entity.look.stateClass);
    setIf(object, "entity_category", entity.look.category);
    setIf(object, "icon", entity.look.icon);
    return object;
}

}  // namespace

std::vector<Message> discoveryDocuments(const mqtt::Topics& topics, const std::string& prefix,
                                        const Device& device) {
    const QJsonObject block = deviceBlock(topics, device);
    const QJsonObject origin{{"name", "kr60p-gateway"}, {"sw_version", PANEL_VERSION}};
    std::vector<Message> documents;
    for (const mqtt::Entity& entity : mqtt::entities()) {
        documents.push_back(
            {topicOf(topics, prefix, entity), QJsonDocument(document(topics, entity, block, origin))
                                                  .toJson(QJsonDocument::Compact)});
    }
    return documents;
}

std::vector<Message> removal(const mqtt::Topics& topics, const std::string& prefix) {
    std::vector<Message> messages;
    if (!prefix.empty()) {
        for (const mqtt::Entity& entity : mqtt::entities()) {
            messages.push_back({topicOf(topics, prefix, entity), {}});
        }
    }
    messages.push_back({topics.state(), {}});
    messages.push_back({topics.availability(), {}});
    return messages;
}

}  // namespace gateway
