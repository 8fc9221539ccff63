#include "app/mqtt/Requests.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "mqtt/Entities.h"
#include "vocabulary/Commands.h"

namespace gateway {

namespace {

constexpr const char* kSetShape =
    "BASE/set takes a JSON object of one command: {\"power\": \"ON\"}, {\"input\": \"PC2\"}, "
    "{\"command\": \"volume-up\"} or {\"code\": \"CR0\"}, with \"correlation\" if wanted.";

Request malformed(std::string why, QJsonValue correlation = QJsonValue::Undefined) {
    Request request;
    request.error = std::move(why);
    request.correlation = std::move(correlation);
    return request;
}

Request named(const std::string& name, QJsonValue correlation) {
    Request request;
    request.correlation = std::move(correlation);
    if (projector::commandNamed(name)) {
        request.command = name;
    } else {
        request.error = "There is no command \"" + name + "\" (kr60p-ctl list names them all).";
        request.unknown = true;
    }
    return request;
}

Request controlled(const std::string& control, const std::string& payload, QJsonValue correlation) {
    Request request;
    request.correlation = std::move(correlation);
    auto command = mqtt::commandFor(control, payload);
    if (command) {
        request.command = *command;
    } else {
        request.error = command.error();
        const mqtt::Entity* entity = mqtt::entityNamed(control);
        request.unknown =
            !entity || entity->choices.empty() || entity->choices.front().command.empty();
    }
    return request;
}

std::optional<QJsonObject> objectOf(const QByteArray& payload) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    return document.object();
}

Request fromSet(const QByteArray& payload) {
    const auto object = objectOf(payload);
    if (!object) return malformed(kSetShape);
    const QJsonValue correlation = object->value("correlation");
    QStringList keys = object->keys();
    keys.removeAll("correlation");
    if (keys.size() != 1) return malformed(kSetShape, correlation);
    const QString key = keys.front();
    const QJsonValue value = object->value(key);
    if (!value.isString()) {
        return malformed("The value of \"" + key.toStdString() + "\" is to be a string.",
                         correlation);
    }
    const std::string text = value.toString().toStdString();
    if (key == "command") return named(text, correlation);
    if (key == "code") {
        Request request;
        request.code = text;
        request.correlation = correlation;
        if (text.empty()) return malformed("An empty code sends nothing.", correlation);
        return request;
    }
    return controlled(key.toStdString(), text, correlation);
}

Request fromCommand(const QByteArray& payload) {
    if (!payload.trimmed().startsWith('{'))
        return named(payload.trimmed().toStdString(), QJsonValue::Undefined);
    const auto object = objectOf(payload);
    if (!object || !object->value("command").isString()) {
        return malformed(
            "BASE/command takes a catalogue name, or {\"command\": NAME, \"correlation\": ...}.",
            object ? object->value("correlation") : QJsonValue::Undefined);
    }
    return named(object->value("command").toString().toStdString(), object->value("correlation"));
}

}  // namespace

Request readRequest(const mqtt::Route& route, const QByteArray& payload) {
    switch (route.kind) {
        case mqtt::Route::Kind::Set:
            return fromSet(payload);
        case mqtt::Route::Kind::Command:
            return fromCommand(payload);
        case mqtt::Route::Kind::Control:
            return controlled(route.control, payload.trimmed().toStdString(),
                              QJsonValue::Undefined);
        case mqtt::Route::Kind::HomeAssistant:
        case mqtt::Route::Kind::None:
            break;
    }
    return malformed("Nothing is read from this topic.");
}

}  // namespace gateway
