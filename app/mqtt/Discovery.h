#pragma once
// Home Assistant's discovery documents for the projector: one device, each
// entity of the table with its topics, its template over the state object,
// its availability (the bridge's, and the projector's where a reading needs
// it), and ids that stay as long as the topic base does.

#include <QByteArray>
#include <optional>
#include <string>
#include <vector>

#include "mqtt/Topics.h"

namespace gateway {

struct Device {
    std::string name;
    std::string maker;
    std::string model;
    std::optional<std::string> version;  // the projector's software, once read
    std::optional<std::string> pageUrl;  // the web page, when it is served
};

struct Message {
    std::string topic;
    QByteArray payload;
};

std::vector<Message> discoveryDocuments(const mqtt::Topics& topics, const std::string& prefix,
                                        const Device& device);

// What the gateway leaves retained on the broker, each with an empty
// payload: a projector taken out of service.
std::vector<Message> removal(const mqtt::Topics& topics, const std::string& prefix);

}  // namespace gateway
