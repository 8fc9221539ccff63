#pragma once
// One request as the web server's parts take it: what was asked, by whom,
// and where its answer goes (the socket may go before the answer is ready).

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <string>

namespace gateway {

struct Call {
    enum class Method { Get, Post, Other };
    Method method = Method::Other;
    QString path;
    QByteArray body;
    QByteArray contentType;
    QByteArray cookie;  // the Cookie header
    std::string host;   // the client's address, as the journal names it
    QPointer<QTcpSocket> socket;
};

}  // namespace gateway
