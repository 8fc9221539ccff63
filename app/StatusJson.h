#pragma once
// What the gateway knows of the projector as one JSON object, for the web
// API, the page's live stream and MQTT: whether the device is there and the
// projector answers, the power in PJLink's four states, the errors in
// numbers and words, the freeze, and each query's last reading under its
// catalogue name, with the same names and numbers as kr60p-ctl --json and
// the time it was read.

#include <QJsonObject>
#include <string>

#include "link/ProjectorState.h"

namespace app {

QJsonObject statusJson(const projector::ProjectorState& state, const std::string& device);

}  // namespace app
