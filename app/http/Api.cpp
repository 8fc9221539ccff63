#include "app/http/Api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/CommandRun.h"
#include "app/ReadingJson.h"
#include "app/StatusJson.h"
#include "vocabulary/Commands.h"
#include "web/CommandRules.h"

namespace gateway {

namespace {

using app::q;
using Verdict = app::CommandResult::Verdict;

int statusOf(Verdict verdict) {
    switch (verdict) {
        case Verdict::Answered:
            return 200;
        case Verdict::Unknown:
            return 404;
        case Verdict::TooLong:
            return 413;
        case Verdict::Refused:
            return 409;
        case Verdict::NoReply:
            return 504;
        case Verdict::Unreadable:
            return 502;
        case Verdict::Away:
            break;
    }
    return 503;
}

app::CommandDone replyTo(const QPointer<QTcpSocket>& socket) {
    return [socket](const app::CommandResult& result) {
        const int status = statusOf(result.verdict);
        // Nothing went: an error alone. Else the exchange, its error with it.
        const bool sent = status == 200 || status >= 500;
        send(socket, sent ? jsonReply(result.object, status)
                          : errorReply(status, result.object["error"].toString().toStdString()));
    };
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
                      replyTo(socket)(app::resultOf("power-state", answer));
                  });
}

void Api::command(const Call& call, const std::string& name) {
    if (!projector::commandNamed(name)) {
        return send(call.socket, errorReply(404, "There is no command \"" + name +
                                                     "\": GET /api/v1/commands lists them."));
    }
    app::runCommand(p_.line, name, replyTo(call.socket));
}

void Api::sendCode(const Call& call) {
    const auto body = jsonBody(call);
    if (!body || !(*body)["code"].isString()) {
        return send(call.socket, errorReply(400, "The body is to be JSON: {\"code\": \"CR0\"}."));
    }
    app::runCode(p_.line, (*body)["code"].toString().toStdString(), replyTo(call.socket));
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
