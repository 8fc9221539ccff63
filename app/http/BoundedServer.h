#pragma once
// The web server's listening socket, bounded: connections at once in all
// and from one host, each request's head and body as they arrive (answered
// 431 or 413 and closed beyond them, before anything is kept), a connection
// idle for 30 s closed. TLS when given a certificate and key. A slow or
// abusive client holds up nobody else and costs bounded memory.

#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <map>
#include <optional>

namespace gateway {

inline constexpr std::size_t kMostWebConnections = 256;
inline constexpr std::size_t kMostWebConnectionsPerHost = 128;
inline constexpr int kWebIdleMs = 30'000;

struct Tls {
    QSslCertificate certificate;
    QSslKey key;
};

class BoundedServer : public QTcpServer {
  public:
    explicit BoundedServer(std::optional<Tls> tls) : tls_(std::move(tls)) {}
    std::size_t connections() const { return open_; }

  protected:
    void incomingConnection(qintptr descriptor) override;

  private:
    std::optional<Tls> tls_;
    std::size_t open_ = 0;
    std::map<QString, std::size_t> byHost_;
};

}  // namespace gateway
