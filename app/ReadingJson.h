#pragma once
// A reading as every program gives it in JSON (kr60p-ctl --json, the web
// API, MQTT): a state by its stable name, hours and pressure as numbers,
// temperatures as a list of three, null for one the reply held no number
// for; each under the name a program calls the field.

#include <QJsonObject>

#include "vocabulary/Decoder.h"

namespace app {

void addReading(QJsonObject& object, const projector::Reading& reading);

}  // namespace app
