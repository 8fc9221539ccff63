#pragma once
// What a message to the gateway's topics asks of the projector: a catalogue
// command or a typed code, and the correlation value to echo, read from
// BASE/set (JSON), BASE/CONTROL/set (ON, OFF, an option) or BASE/command (a
// catalogue name, or JSON); or why it cannot be done, before anything goes.

#include <QByteArray>
#include <QJsonValue>
#include <string>

#include "mqtt/Topics.h"

namespace gateway {

struct Request {
    std::string command;     // a catalogue name, or
    std::string code;        // a code as typed, when there is no name
    QJsonValue correlation;  // echoed in the response; undefined when not given
    std::string error;       // why nothing is to be sent, when there is a reason
    bool unknown = false;    // that reason: no such command or control (else malformed)
};

Request readRequest(const mqtt::Route& route, const QByteArray& payload);

}  // namespace gateway
