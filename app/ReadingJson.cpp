#include "app/ReadingJson.h"

#include <QJsonArray>
#include <QString>

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

}  // namespace app
