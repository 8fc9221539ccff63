#include "app/ctl/Report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/ReadingJson.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"
#include "vocabulary/Trace.h"

namespace ctl {

namespace {

constexpr char kAck = '\x06';

using app::q;
using app::trimmed;

void print(const QJsonObject& object) {
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
}

std::string number(double value) {
    return QString::number(value, 'f', value == std::floor(value) ? 0 : 1).toStdString();
}

// The numbers a reading gives, as a person reads them: "1240 hours"; none
// where the reply held no number.
std::string measured(const projector::Reading& reading) {
    const auto& numbers = reading.numbers;
    const bool all = std::all_of(numbers.begin(), numbers.end(),
                                 [](const std::optional<double>& value) { return value; });
    if (numbers.empty() || !all) return {};
    switch (reading.field) {
        case projector::Field::Hours:
            return number(*numbers[0]) + " hours";
        case projector::Field::Temperatures:
            return "S1 " + number(*numbers[0]) + " C, S2 " + number(*numbers[1]) + " C, S3 " +
                   number(*numbers[2]) + " C";
        default:
            return {};  // the pressure's words are its number already
    }
}

// A query's decoded words (after its numbers, where they say more); an
// action's ACK; else what came back, traced.
std::string said(const Outcome& outcome) {
    if (outcome.decoded) {
        const std::string words = trimmed(*outcome.decoded);
        const std::string numbers = outcome.reading ? measured(*outcome.reading) : "";
        return numbers.empty() ? words : numbers + " (" + words + ")";
    }
    if (outcome.reply == std::string(1, kAck)) return "ACK";
    return trimmed(projector::traceOf(outcome.reply));
}

QJsonObject jsonOf(const Outcome& outcome) {
    QJsonObject object =
        app::exchangeJson({outcome.command, outcome.code, outcome.reply, outcome.answered,
                           outcome.query, outcome.decoded, outcome.reading});
    object["time"] = q(outcome.time);
    return object;
}

}  // namespace

void Report::command(const Outcome& outcome) const {
    if (json_) {
        print(jsonOf(outcome));
    } else if (outcome.answered) {
        std::printf("%s\n", said(outcome).c_str());
    }
    std::fflush(stdout);
}

void Report::status(const std::vector<Outcome>& outcomes) const {
    if (json_) {
        QJsonObject object{{"command", "status"}};
        bool answered = true;
        for (const Outcome& outcome : outcomes) {
            object[q(outcome.command)] =
                outcome.answered ? QJsonValue(q(said(outcome))) : QJsonValue();
            if (outcome.reading) app::addReading(object, *outcome.reading);
            answered = answered && outcome.answered;
        }
        object["answered"] = answered;
        if (!outcomes.empty()) object["time"] = q(outcomes.back().time);
        print(object);
    } else {
        for (const Outcome& outcome : outcomes) {
            if (outcome.answered)
                std::printf("%s: %s\n", outcome.command.c_str(), said(outcome).c_str());
        }
    }
    std::fflush(stdout);
}

void Report::list() const {
    const auto commands = projector::commandCatalogue();
    std::size_t nameWidth = 0, codeWidth = 0;
    for (const auto& command : commands) {
        nameWidth = std::max(nameWidth, command.name.size());
        codeWidth = std::max(codeWidth, command.code.size());
    }
    for (const auto& command : commands) {
        if (json_) {
            print({{"name", q(std::string(command.name))},
                   {"code", q(std::string(command.code))},
                   {"what", q(std::string(command.what))},
                   {"query", projector::isQuery(command.code)}});
        } else {
            std::printf("%-*s  %-*s  %s\n", static_cast<int>(nameWidth),
                        std::string(command.name).c_str(), static_cast<int>(codeWidth),
                        std::string(command.code).c_str(), std::string(command.what).c_str());
        }
    }
}

}  // namespace ctl
