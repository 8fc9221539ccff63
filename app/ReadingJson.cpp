#include "app/ReadingJson.h"

#include <QJsonArray>
#include <QString>

#include "vocabulary/Trace.h"

namespace app {

namespace {

QJsonValue json(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

}  // namespace

void addReading(QJsonObject& object, const projector::Reading& reading) {
    const QString field = QString::fromUtf8(projector::fieldName(reading.field));
    if (reading.numbers.size() == 1) {
        object[field] = json(reading.numbers.front());
    } else if (!reading.numbers.empty()) {
        QJsonArray numbers;
        for (const auto& value : reading.numbers) numbers.append(json(value));
        object[field] = numbers;
    } else {
        object[field] = QString::fromStdString(reading.text);
    }
}

QJsonObject exchangeJson(const Exchanged& exchange) {
    QJsonObject object{{"command", q(exchange.command)},
                       {"code", q(exchange.code)},
                       {"reply", q(projector::traceOf(exchange.reply))},
                       {"answered", exchange.answered}};
    if (exchange.query) {
        object["decoded"] =
            exchange.decoded ? QJsonValue(q(trimmed(*exchange.decoded))) : QJsonValue();
    }
    if (exchange.reading) addReading(object, *exchange.reading);
    return object;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace app
