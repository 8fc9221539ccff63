#pragma once
// An HTTP response written to a client's socket, now or when its answer is
// ready (the socket may have gone meanwhile: then nothing is written).

#include <QByteArray>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <string>
#include <utility>
#include <vector>

namespace gateway {

struct Reply {
    int status = 200;
    QByteArray type = "application/json";
    QByteArray body;
    std::vector<std::pair<QByteArray, QByteArray>> headers;
};

Reply jsonReply(const QJsonObject& object, int status = 200);
// An error as JSON: its status and a sentence a person understands.
Reply errorReply(int status, const std::string& sentence);

void send(const QPointer<QTcpSocket>& socket, const Reply& reply);

}  // namespace gateway
