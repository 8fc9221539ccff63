#pragma once
// A reading as every program gives it in JSON (kr60p-ctl --json, the web
// API, MQTT): a state by its stable name, hours and pressure as numbers,
// temperatures as a list of three, null for one the reply held no number
// for; each under the name a program calls the field.

#include <QJsonObject>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "vocabulary/Decoder.h"

namespace app {

void addReading(QJsonObject& object, const projector::Reading& reading);

// An exchange as every program gives it: the command, its code, the reply
// traced, whether it was answered, and for a query its decoded words (null
// where they cannot be read) and its reading.
struct Exchanged {
    std::string_view command, code, reply;
    bool answered = false;
    bool query = false;
    const std::optional<std::string>& decoded;
    const std::optional<projector::Reading>& reading;
};
QJsonObject exchangeJson(const Exchanged& exchange);

// The decoder's words without the blanks around them.
std::string trimmed(const std::string& text);

// The project's texts (UTF-8) as JSON strings.
inline QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace app
