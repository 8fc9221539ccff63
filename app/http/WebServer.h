#pragma once
// The web front end: the control page, the JSON API, the live stream and
// the metrics on one HTTP server (Qt HTTP Server, on the event thread).
// With a password every request but the page's own files, the login and
// /healthz needs it: the page's session cookie (HttpOnly, SameSite=Strict),
// or HTTP Basic for programs; a wrong password is answered later each time,
// by the host it came from. Without one, the gateway listens on the
// loopback addresses only, as for PJLink.

#include <QAbstractHttpServer>
#include <memory>
#include <optional>
#include <string>

#include "app/http/Api.h"
#include "app/http/BoundedServer.h"
#include "app/http/Call.h"
#include "app/http/Events.h"
#include "app/servers/ClientLedger.h"
#include "app/servers/Endpoint.h"
#include "app/servers/Journal.h"
#include "toolkit/Result.h"
#include "web/Sessions.h"

namespace gateway {

class WebServer : public QAbstractHttpServer {
  public:
    WebServer(Api::Parts parts, std::optional<std::string> password, std::optional<Tls> tls,
              Journal journal);
    ~WebServer() override;

    toolkit::Result<Endpoint> listen(const Endpoint& endpoint);
    void setPassword(std::optional<std::string> password);
    std::size_t connections() const { return server_ ? server_->connections() : 0; }
    bool secure() const { return tls_.has_value(); }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    enum class Access { Open, Guarded };
    void route(const Call& call, const QHttpServerRequest& request);
    // Whether the call may go on; when it may not, it has been answered.
    void guard(const Call& call, const QHttpServerRequest& request,
               const std::function<void()>& then);
    void file(const Call& call, const QString& name, const QByteArray& type);
    void login(const Call& call);
    void logout(const Call& call);

    std::optional<std::string> password_;
    std::optional<Tls> tls_;
    Journal journal_;
    ClientLedger ledger_;
    web::Sessions sessions_;
    web::Throttle throttle_;
    Api api_;
    Events events_;
    BoundedServer* server_ = nullptr;
};

}  // namespace gateway
