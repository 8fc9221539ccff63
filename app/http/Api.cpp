#include "app/http/Api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/ReadingJson.h"
#include "app/StatusJson.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Sentences.h"
#include "vocabulary/Trace.h"
#include "vocabulary/WireBytes.h"
#include "web/CommandRules.h"

namespace gateway {

namespace {

using Outcome = projector::Answer::Outcome;

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// An exchange's answer as kr60p-ctl --json gives it, and the status that fits.
Reply answerReply(const std::string& name, const projector::Answer& answer) {
    QJsonObject object{{"command", q(name)},
                       {"code", q(answer.code)},
                       {"reply", q(projector::traceOf(answer.reply))},
                       {"answered", answer.answered()},
                       {"outcome", q(web::outcomeName(answer.outcome))}};
    if (projector::isQuery(answer.code)) {
        object["decoded"] = answer.decoded ? QJsonValue(q(trimmed(*answer.decoded))) : QJsonValue();
    }
    if (answer.reading) app::addReading(object, *answer.reading);
    const auto code = projector::shown(answer.code);
    switch (answer.outcome) {
        case Outcome::Answered:
            return jsonReply(object);
        case Outcome::NoReply:
            object["error"] = q("The projector did not reply to " + code + ".");
            return jsonReply(object, 504);
        case Outcome::Cut:
        case Outcome::Undecoded:
        case Outcome::Unexpected:
            object["error"] = q("The projector's reply to " + code + " cannot be read: \"" +
                                projector::traceOf(answer.reply) + "\".");
            return jsonReply(object, 502);
        case Outcome::NotSent:
        case Outcome::Lost:
            object["error"] = q("The projector's device is away: nothing was sent.");
            return jsonReply(object, 503);
        case Outcome::Silent:
            break;
    }
    object["error"] =
        q("The projector is not answering (its mains off, or its cable out at its "
          "end?): nothing was sent.");
    return jsonReply(object, 503);
}

std::optional<QJsonObject> jsonBody(const Call& call) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(call.body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    return document.object();
}

}  // namespace

Api::Api(Parts parts)
    : p_(std::move(parts)),
      repeat_(nullptr, "HoldRepeat", 200),
      lease_(nullptr, "HoldLease", web::kLeaseMs),
      hold_(repeat_, lease_, [this](const std::string& name, std::function<void()> done) {
          p_.line.exchange(std::string(projector::codeOf(name)), projector::Expect::Ack,
                           [done = std::move(done)](const projector::Answer&) { done(); });
      }) {}

QByteArray Api::statusBody() const {
    return QJsonDocument(app::statusJson(p_.state, p_.device)).toJson(QJsonDocument::Compact);
}

void Api::status(const Call& call) {
    fresh([this, socket = call.socket] {
        send(socket, {200, "application/json", statusBody(), {}});
    });
}

void Api::fresh(std::function<void()> then) {
    // Whichever comes first: every stale reading asked again, or the bound.
    auto answered = std::make_shared<bool>(false);
    auto once = [answered, then = std::move(then)] {
        if (!std::exchange(*answered, true)) then();
    };
    QTimer::singleShot(kScrapeWaitMs, this, once);
    p_.state.refresh(kScrapeFreshMs, [self = QPointer<Api>(this), once] {
        if (self) once();
    });
}

void Api::commands(const Call& call) {
    QJsonArray list;
    for (const projector::Command& command : projector::commandCatalogue()) {
        list.append(QJsonObject{{"name", q(command.name)},
                                {"code", q(command.code)},
                                {"what", q(command.what)},
                                {"query", projector::isQuery(command.code)},
                                {"held", command.repeatMs != 0},
                                {"group", q(web::groupOf(command.name))}});
    }
    QJsonArray groups;
    for (const web::Group& group : web::commandGroups()) {
        QJsonArray names;
        for (const std::string_view name : group.commands) names.append(q(name));
        groups.append(QJsonObject{{"title", q(group.title)}, {"commands", names}});
    }
    send(call.socket, jsonReply({{"commands", list}, {"groups", groups}}));
}

void Api::withState(const Call& call, std::function<void(const std::string& state)> then) {
    p_.line.query(std::string(projector::codeOf("power-state")),
                  [socket = call.socket, then = std::move(then)](const projector::Answer& answer) {
                      if (answer.answered() && answer.reading) return then(answer.reading->text);
                      send(socket, answerReply("power-state", answer));
                  });
}

void Api::command(const Call& call, const std::string& name) {
    const projector::Command* command = projector::commandNamed(name);
    if (!command) {
        return send(call.socket, errorReply(404, "There is no command \"" + name +
                                                     "\": GET /api/v1/commands lists them."));
    }
    const std::string code(command->code);
    const auto exchange = [this, socket = call.socket, name, code] {
        const projector::Expect expect =
            projector::isQuery(code) ? projector::Expect::Line : projector::Expect::Ack;
        const auto done = [socket, name](const projector::Answer& answer) {
            send(socket, answerReply(name, answer));
        };
        if (expect == projector::Expect::Line) return p_.line.query(code, done);
        p_.line.exchange(code, expect, done);
    };
    if (projector::isQuery(code)) return exchange();
    withState(call, [socket = call.socket, name, exchange](const std::string& state) {
        if (const auto refused = web::refusal(name, state))
            return send(socket, errorReply(409, *refused));
        exchange();
    });
}

void Api::sendCode(const Call& call) {
    const auto body = jsonBody(call);
    if (!body || !(*body)["code"].isString()) {
        return send(call.socket, errorReply(400, "The body is to be JSON: {\"code\": \"CR0\"}."));
    }
    const std::string code = projector::wireBytesOf((*body)["code"].toString().toStdString());
    if (code.size() > 32767) {
        return send(call.socket,
                    errorReply(413, "A code of at most 32767 characters, as the window sends."));
    }
    p_.line.exchange(code, projector::Expect::Either,
                     [socket = call.socket](const projector::Answer& answer) {
                         send(socket, answerReply("send", answer));
                     });
}

void Api::hold(const Call& call) {
    const auto body = jsonBody(call);
    const std::string name = body ? (*body)["command"].toString().toStdString() : "";
    const std::string stream = body ? (*body)["stream"].toString().toStdString() : "";
    const projector::Command* command = projector::commandNamed(name);
    if (!command || command->repeatMs == 0 || stream.empty()) {
        return send(call.socket, errorReply(400,
                                            "The body is to be JSON: {\"command\": a held "
                                            "command's name, \"stream\": the live stream's id}."));
    }
    withState(call, [this, socket = call.socket, name, stream,
                     repeatMs = command->repeatMs](const std::string& state) {
        if (const auto refused = web::refusal(name, state))
            return send(socket, errorReply(409, *refused));
        hold_.press(stream, name, repeatMs);
        send(socket, jsonReply({{"holding", q(name)}, {"leaseMs", web::kLeaseMs}}, 202));
    });
}

void Api::renew(const Call& call) {
    const auto body = jsonBody(call);
    if (body) hold_.renew((*body)["stream"].toString().toStdString());
    send(call.socket,
         jsonReply({{"holding", hold_.holding() ? q(hold_.command()) : QJsonValue()}}));
}

void Api::release(const Call& call) {
    const auto body = jsonBody(call);
    if (body) hold_.release((*body)["stream"].toString().toStdString());
    send(call.socket,
         jsonReply({{"holding", hold_.holding() ? q(hold_.command()) : QJsonValue()}}));
}

void Api::metrics(const Call& call) {
    fresh([this, socket = call.socket] {
        const std::string text = web::metrics(p_.state, p_.identity, p_.counts, p_.line.fromCache(),
                                              p_.clients(), p_.now());
        send(
            socket,
            {200, "text/plain; version=0.0.4; charset=utf-8", QByteArray::fromStdString(text), {}});
    });
}

void Api::health(const Call& call) {
    using Reach = projector::ProjectorState::Reach;
    const Reach reach = p_.state.reach();
    send(call.socket, jsonReply({{"status", "ok"},
                                 {"reachable", reach != Reach::Away},
                                 {"answering", reach == Reach::Answering}}));
}

}  // namespace gateway
