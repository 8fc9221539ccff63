#include "app/StatusJson.h"

#include <QJsonArray>

#include "app/ReadingJson.h"
#include "pjlink/Mapping.h"

namespace app {

using projector::Field;

QJsonObject statusJson(const projector::ProjectorState& state, const std::string& device) {
    using Reach = projector::ProjectorState::Reach;
    QJsonObject object{{"device", q(device)},
                       {"reachable", state.reach() != Reach::Away},
                       {"answering", state.reach() == Reach::Answering}};
    object["power"] = QJsonValue();
    object["errors"] = QJsonValue();
    if (const auto& known = state.known(Field::State)) {
        const auto power = pjlink::statusOf(known->reading, pjlink::Status::Power);
        if (power && *power) object["power"] = q(pjlink::powerName((**power)[0]));
        const auto errors = pjlink::statusOf(known->reading, pjlink::Status::Errors);
        if (errors && *errors) {
            QJsonArray words;
            for (const std::string& word : pjlink::errorWords(**errors)) words.append(q(word));
            object["errors"] = QJsonObject{{"erst", q(**errors)}, {"words", words}};
        }
    }
    object["freeze"] = state.frozen() ? QJsonValue(*state.frozen()) : QJsonValue();
    QJsonObject readings;
    for (const Field field :
         {Field::State, Field::Input, Field::Mute, Field::Hours, Field::Lamps, Field::Temperatures,
          Field::Pressure, Field::Reversal, Field::Version}) {
        const auto& known = state.known(field);
        if (!known) continue;
        QJsonObject reading{{"words", q(known->words)}, {"time", q(known->time)}};
        addReading(reading, known->reading);
        readings[q(projector::ProjectorState::queryOf(field))] = reading;
    }
    object["readings"] = readings;
    return object;
}

}  // namespace app
