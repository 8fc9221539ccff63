#include "app/http/WebServer.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QRandomGenerator>
#include <QTimer>

#include "app/servers/Listening.h"
#include "web/Credentials.h"

namespace gateway {

namespace {

constexpr char kCookie[] = "kr60p-session";
constexpr std::string_view kCommandPath = "/api/v1/commands/";

std::string randomId() {
    std::string id;
    for (int i = 0; i < 4; ++i) {
        id += QString::number(QRandomGenerator::system()->generate(), 16)
                  .rightJustified(8, '0')
                  .toStdString();
    }
    return id;
}

Call::Method methodOf(const QHttpServerRequest& request) {
    switch (request.method()) {
        case QHttpServerRequest::Method::Get:
            return Call::Method::Get;
        case QHttpServerRequest::Method::Post:
            return Call::Method::Post;
        default:
            return Call::Method::Other;
    }
}

Reply seeOther(const QByteArray& where, const QByteArray& cookie = {}) {
    Reply reply{303, "text/plain", "", {{"Location", where}}};
    if (!cookie.isEmpty()) reply.headers.emplace_back("Set-Cookie", cookie);
    return reply;
}

}  // namespace

WebServer::WebServer(Api::Parts parts, std::optional<std::string> password, std::optional<Tls> tls,
                     Journal journal)
    : password_(std::move(password)),
      tls_(std::move(tls)),
      journal_(std::move(journal)),
      ledger_("HTTP", parts.now, journal_.event),
      sessions_(parts.now, randomId),
      throttle_(parts.now),
      api_(parts),
      events_(
          parts.state, [this] { return api_.statusBody(); },
          [this](const std::string& stream) { api_.streamGone(stream); }) {}

WebServer::~WebServer() {
    if (server_) {
        for (QTcpSocket* socket : server_->findChildren<QTcpSocket*>()) {
            socket->disconnect();
            socket->abort();
        }
    }
}

toolkit::Result<Endpoint> WebServer::listen(const Endpoint& endpoint) {
    auto server = std::make_unique<BoundedServer>(tls_);
    auto listening = listenOn(*server, endpoint);
    if (!listening) return listening;
    server_ = server.release();
    server_->setParent(this);
    bind(server_);
    return listening;
}

void WebServer::setPassword(std::optional<std::string> password) {
    if (password != password_) sessions_.closeAll();
    password_ = std::move(password);
}

bool WebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    Call call{methodOf(request),
              request.url().path(),
              request.body(),
              request.value("Content-Type"),
              request.value("Cookie"),
              hostOf(request.remoteAddress()),
              socket};
    ledger_.request(call.host);
    journal_.detail("HTTP " + call.host + " " +
                    (call.method == Call::Method::Post ? "POST " : "GET ") +
                    call.path.toStdString());
    route(call, request);
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest& /*request*/, QTcpSocket* socket) {
    send(socket, errorReply(404, "Nothing is here."));
}

void WebServer::route(const Call& call, const QHttpServerRequest& request) {
    const QString& path = call.path;
    const bool get = call.method == Call::Method::Get;
    const bool post = call.method == Call::Method::Post;
    // The page's own files, the login and the health check need no password.
    if (get && (path == "/" || path == "/index.html")) {
        return file(call, "index.html", "text/html; charset=utf-8");
    }
    if (get && path == "/app.js") return file(call, "app.js", "text/javascript; charset=utf-8");
    if (get && path == "/app.css") return file(call, "app.css", "text/css; charset=utf-8");
    if (get && path == "/icon.svg") return file(call, "icon.svg", "image/svg+xml");
    if (get && path == "/healthz") return api_.health(call);
    if (post && path == "/login") return login(call);
    if (post && path == "/logout") return logout(call);
    guard(call, request, [this, call] {
        const QString& path = call.path;
        const bool get = call.method == Call::Method::Get;
        const bool post = call.method == Call::Method::Post;
        if (get && path == "/metrics") return api_.metrics(call);
        if (get && path == "/api/v1/status") return api_.status(call);
        if (get && path == "/api/v1/commands") return api_.commands(call);
        if (get && path == "/api/v1/openapi.json") {
            return file(call, "openapi.json", "application/json");
        }
        if (get && path == "/api/v1/events") {
            if (!events_.open(call)) send(call.socket, errorReply(503, "Too many live streams."));
            return;
        }
        if (post && path.startsWith(QString::fromUtf8(kCommandPath.data(), kCommandPath.size()))) {
            return api_.command(
                call, path.mid(static_cast<qsizetype>(kCommandPath.size())).toStdString());
        }
        if (post && path == "/api/v1/send") return api_.sendCode(call);
        if (post && path == "/api/v1/hold") return api_.hold(call);
        if (post && path == "/api/v1/hold/renew") return api_.renew(call);
        if (post && path == "/api/v1/hold/release") return api_.release(call);
        const bool known = path == "/metrics" || path.startsWith("/api/v1/");
        send(call.socket, known ? errorReply(405, "Not with this method: see /api/v1/openapi.json.")
                                : errorReply(404, "Nothing is here: see /api/v1/openapi.json."));
    });
}

void WebServer::guard(const Call& call, const QHttpServerRequest& request,
                      const std::function<void()>& then) {
    if (!password_) return then();
    if (const auto session = web::cookieValue(call.cookie.toStdString(), kCookie);
        session && sessions_.valid(*session)) {
        return then();
    }
    const QByteArray authorization = request.value("Authorization");
    if (authorization.isEmpty()) {
        Reply reply = errorReply(401,
                                 "A password is needed: log in on the page, or give it with "
                                 "HTTP Basic (any user name).");
        // Not for the page's own requests, where a browser would ask in a box of its own.
        if (request.value("X-KR60P-Page").isEmpty()) {
            reply.headers.emplace_back("WWW-Authenticate", "Basic realm=\"kr60p-gateway\"");
        }
        return send(call.socket, reply);
    }
    const auto given = web::basicPassword(authorization.toStdString());
    if (given && web::sameSecret(*given, *password_)) {
        throttle_.right(call.host);
        return then();
    }
    ledger_.refused(call.host, "a wrong password (HTTP)");
    QTimer::singleShot(static_cast<int>(throttle_.wrong(call.host)), this, [socket = call.socket] {
        send(socket, errorReply(401, "The password is wrong."));
    });
}

void WebServer::file(const Call& call, const QString& name, const QByteArray& type) {
    QFile asset(":/web/" + name);
    if (!asset.open(QIODevice::ReadOnly))
        return send(call.socket, errorReply(404, "Nothing is here."));
    send(call.socket, {200,
                       type,
                       asset.readAll(),
                       {{"Content-Security-Policy",
                         "default-src 'self'; script-src 'self'; style-src 'self'; "
                         "img-src 'self'; connect-src 'self'; frame-ancestors 'none'"}}});
}

void WebServer::login(const Call& call) {
    if (!password_) return send(call.socket, seeOther("/"));
    const auto given = web::formField(call.body.toStdString(), "password");
    if (given && web::sameSecret(*given, *password_)) {
        throttle_.right(call.host);
        const std::string id = sessions_.open();
        QByteArray cookie = QByteArray(kCookie) + "=" + QByteArray::fromStdString(id) +
                            "; Path=/; HttpOnly; SameSite=Strict";
        if (tls_) cookie += "; Secure";
        return send(call.socket, seeOther("/", cookie));
    }
    ledger_.refused(call.host, "a wrong password (the page's login)");
    QTimer::singleShot(static_cast<int>(throttle_.wrong(call.host)), this,
                       [socket = call.socket] { send(socket, seeOther("/?wrong")); });
}

void WebServer::logout(const Call& call) {
    if (const auto session = web::cookieValue(call.cookie.toStdString(), kCookie)) {
        sessions_.close(*session);
    }
    send(call.socket, seeOther("/", QByteArray(kCookie) + "=; Path=/; Max-Age=0; HttpOnly; "
                                                          "SameSite=Strict"));
}

}  // namespace gateway
