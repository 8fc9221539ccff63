// A client's connection bounded both ways, on real sockets on the loopback:
// read no further while its answers wait, cut off when it reads none of
// them, once the kernel's buffers are full and the gateway's own bound is
// what decides.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

#include "app/servers/Connection.h"

namespace {

bool waitFor(const std::function<bool()>& condition, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct Pair {
    Pair() {
        server.listen(QHostAddress::LocalHost, 0);
        // A client that reads nothing takes nothing into Qt's buffer either.
        client.setReadBufferSize(4096);
        client.connectToHost(QHostAddress::LocalHost, server.serverPort());
        waitFor([this] { return server.hasPendingConnections(); });
        QTcpSocket* socket = server.nextPendingConnection();
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
        connection = new gateway::Connection(socket);
        connection->onClosed([this](const std::string& why) { closed = why; });
    }
    // As a server that goes closes its clients: their last signals reach
    // nobody.
    ~Pair() { gateway::closeQuietly(server); }
    QTcpServer server;
    QTcpSocket client;
    gateway::Connection* connection = nullptr;
    std::string closed;
};

}  // namespace

TEST(Connection, AClientThatReadsNoneOfItsAnswersIsCutOff) {
    Pair pair;
    // Whatever the kernel takes first (on the loopback, a few MiB at most).
    const std::string answer(16UL * 1024, 'a');
    for (int i = 0; i < 1024 && pair.closed.empty(); ++i) {
        pair.connection->say(answer);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(pair.closed, "cut off: it does not read its answers");
}

TEST(Connection, AClientIsReadNoFurtherWhileItsAnswersWait) {
    Pair pair;
    std::vector<gateway::Connection::Place> places;
    std::string heard;
    pair.connection->onHeard([&](const std::string& bytes) {
        heard += bytes;
        for (const char c : bytes) {
            if (c == '\r') places.push_back(pair.connection->reserve());
        }
    });
    pair.client.write(QByteArray("%1POWR ?\r").repeated(gateway::kWaitingLimit));
    ASSERT_TRUE(waitFor([&] { return places.size() == gateway::kWaitingLimit; }));
    pair.client.write("%1INPT ?\r");
    waitFor([] { return false; }, 300);
    EXPECT_EQ(places.size(), gateway::kWaitingLimit);  // not read while 16 wait
    for (const auto place : places) pair.connection->fill(place, "%1POWR=0\r");
    ASSERT_TRUE(waitFor([&] { return places.size() == gateway::kWaitingLimit + 1; }));
    EXPECT_TRUE(heard.ends_with("%1INPT ?\r"));
    EXPECT_TRUE(pair.closed.empty());
}
