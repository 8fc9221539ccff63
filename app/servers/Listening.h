#pragma once
// What every server of the gateway does with addresses: an endpoint's
// address, a server listening on one, and a client's host as the journal
// names it.

#include <QHostAddress>
#include <QTcpServer>
#include <string>

#include "app/servers/Endpoint.h"
#include "toolkit/Result.h"

namespace gateway {

// An endpoint's address; null for a host that is no address.
QHostAddress addressOf(const Endpoint& endpoint);
// A server listening there, or why not; the endpoint it listens on is the
// port it took.
toolkit::Result<Endpoint> listenOn(QTcpServer& server, const Endpoint& endpoint);
// A client's host, as the journal names it: IPv4 without its IPv6 dress.
std::string hostOf(const QHostAddress& address);

}  // namespace gateway
