#include "app/http/Reply.h"

#include <QJsonDocument>

namespace gateway {

namespace {

QByteArray reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 202:
            return "Accepted";
        case 204:
            return "No Content";
        case 303:
            return "See Other";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 409:
            return "Conflict";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 502:
            return "Bad Gateway";
        case 503:
            return "Service Unavailable";
        case 504:
            return "Gateway Timeout";
        default:
            return "Status";
    }
}

}  // namespace

Reply jsonReply(const QJsonObject& object, int status) {
    return {status, "application/json", QJsonDocument(object).toJson(QJsonDocument::Compact), {}};
}

Reply errorReply(int status, const std::string& sentence) {
    return jsonReply({{"status", status}, {"error", QString::fromStdString(sentence)}}, status);
}

void send(const QPointer<QTcpSocket>& socket, const Reply& reply) {
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + " " + reason(reply.status) +
                     "\r\nContent-Type: " + reply.type +
                     "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                     "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    for (const auto& [name, value] : reply.headers) out += name + ": " + value + "\r\n";
    out += "\r\n" + reply.body;
    socket->write(out);
}

}  // namespace gateway
