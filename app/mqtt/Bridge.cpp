#include "app/mqtt/Bridge.h"

#include <QJsonDocument>

#include "app/CommandRun.h"
#include "app/ReadingJson.h"
#include "app/StatusJson.h"
#include "app/mqtt/Requests.h"

namespace gateway {

namespace {

using app::q;

const char* outcomeOf(app::CommandResult::Verdict verdict) {
    using Verdict = app::CommandResult::Verdict;
    switch (verdict) {
        case Verdict::Unknown:
            return "unknown";
        case Verdict::TooLong:
            return "too-long";
        case Verdict::Refused:
            return "refused";
        default:
            return nullptr;  // sent: the exchange's own outcome
    }
}

// The state without the times its readings were read at: a poll that
// reads the same values again changes nothing worth a message.
QJsonValue withoutTimes(const QJsonValue& value) {
    if (!value.isObject()) return value;
    QJsonObject object = value.toObject();
    object.remove("time");
    for (auto field = object.begin(); field != object.end(); ++field) {
        *field = withoutTimes(*field);
    }
    return object;
}

// The state without the readings that move while nothing happens.
QJsonObject withoutMeasures(QJsonObject state) {
    QJsonObject readings = state["readings"].toObject();
    for (const char* measure : {"temperatures", "pressure", "lamp-time"}) readings.remove(measure);
    state["readings"] = readings;
    return state;
}

QByteArray compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace

Bridge::Bridge(Parts parts, MqttSession& session) : p_(std::move(parts)), session_(session) {
    p_.pace.setInterval(kStatePaceMs);
    p_.pace.setEnabled(false);
    p_.pace.onTimer([this] {
        if (!std::exchange(pending_, false) && !measuresPending_) {
            return p_.pace.setEnabled(false);
        }
        publishState();
    });
    p_.state.onChange([this](std::optional<projector::Field> field) { changed(field); });
    // Kept current whether the broker is there or not: on a reconnection
    // the state published is the projector's now.
    p_.state.watch();
}

Bridge::~Bridge() {
    p_.state.unwatch();
}

void Bridge::connected() {
    up_ = true;
    session_.publish(p_.topics.availability(), "online", true);
    for (const std::string& topic : {p_.topics.set(), p_.topics.controls(), p_.topics.command()}) {
        session_.subscribe(topic);
    }
    if (!p_.discoveryPrefix.empty()) session_.subscribe(p_.discoveryPrefix + "/status");
    publishDiscovery();
    lastState_.clear();
    lastSteady_.clear();
    publishState();
}

void Bridge::changed(std::optional<projector::Field> field) {
    if (field == projector::Field::Version) {
        const auto& known = p_.state.known(projector::Field::Version);
        std::optional<std::string> version;
        if (known) version = known->reading.text;
        if (version != p_.identity.version) {
            p_.identity.version = version;
            if (up_) publishDiscovery();
        }
    }
    if (p_.pace.enabled()) {
        pending_ = true;
        return;
    }
    publishState();
    p_.pace.setEnabled(true);
}

void Bridge::publishState() {
    if (!up_) return;
    const QJsonObject state = app::statusJson(p_.state, p_.device);
    const QJsonObject values = withoutTimes(state).toObject();
    QByteArray all = compact(values);
    measuresPending_ = false;
    if (all == lastState_) return;
    QByteArray steady = compact(withoutMeasures(values));
    const std::int64_t now = p_.now();
    if (steady == lastSteady_ && now - lastPublishedMs_ < kMeasuresEveryMs) {
        measuresPending_ = true;
        p_.pace.setEnabled(true);
        return;
    }
    lastState_ = std::move(all);
    lastSteady_ = std::move(steady);
    lastPublishedMs_ = now;
    session_.publish(p_.topics.state(), compact(state), true);
}

void Bridge::publishDiscovery() {
    if (p_.discoveryPrefix.empty()) return;
    for (const Message& document : discoveryDocuments(p_.topics, p_.discoveryPrefix, p_.identity)) {
        session_.publish(document.topic, document.payload, true);
    }
}

void Bridge::message(const std::string& topic, const QByteArray& payload) {
    const mqtt::Route route = mqtt::routeOf(p_.topics, p_.discoveryPrefix, topic);
    if (route.kind == mqtt::Route::Kind::None) return;
    if (route.kind == mqtt::Route::Kind::HomeAssistant) {
        // Home Assistant started again: it reads everything anew.
        if (payload.trimmed() == "online") {
            publishDiscovery();
            lastState_.clear();
            lastSteady_.clear();
            publishState();
        }
        return;
    }
    const Request request = readRequest(route, payload);
    if (!request.error.empty()) {
        return respond(
            {{"outcome", request.unknown ? "unknown" : "malformed"}, {"error", q(request.error)}},
            topic, request.correlation);
    }
    const auto done = [this, topic,
                       correlation = request.correlation](const app::CommandResult& result) {
        QJsonObject object = result.object;
        if (const char* outcome = outcomeOf(result.verdict)) object["outcome"] = outcome;
        respond(object, topic, correlation);
    };
    if (!request.command.empty()) return app::runCommand(p_.line, request.command, done);
    app::runCode(p_.line, request.code, done);
}

void Bridge::respond(QJsonObject object, const std::string& topic, const QJsonValue& correlation) {
    object["topic"] = q(topic);
    if (!correlation.isUndefined()) object["correlation"] = correlation;
    session_.publish(p_.topics.response(), QJsonDocument(object).toJson(QJsonDocument::Compact),
                     false);
}

}  // namespace gateway
