#pragma once
// The gateway as the end-to-end tests meet it: a child process with its log
// in a file and its journal on standard error, a PJLink client of the
// plainest kind, and a Class 2 controller listening for datagrams.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCryptographicHash>
#include <QFile>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <string>

#include "tests/support/PtyPeer.h"

// A file of the test's own with this text: a password, a status to report.
inline QString written(const QTemporaryDir& folder, const QString& name, const QByteArray& text) {
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(text);
    return file.fileName();
}

// The gateway as a child process, its log read from a file: a pipe the test
// did not empty in time would hold the gateway up. KR60P_GATEWAY_UNDER names
// a program to run it under (scripts/check-memory: valgrind).
class Gateway {
  public:
    explicit Gateway(const QStringList& arguments) : logFile_(folder_.filePath("gateway.log")) {
        const QStringList command =
            under_ +
            QStringList{KR60P_GATEWAY, "--listen", "127.0.0.1:0", "--log", logFile_.fileName()} +
            arguments;
        process_.start(command.front(), command.mid(1));
        // The speed is set once every server listens.
        waitFor([this] { return log().find(" SPEED ") != std::string::npos; }, deadline());
        port = portAfter("PJLINK on 127.0.0.1:");
        share = portAfter("SHARE on tcp://127.0.0.1:");
    }
    // Every run ends as a service's does, with its clients still there: in
    // order, status 0, and (under a sanitizer or valgrind) nothing to report.
    ~Gateway() {
        if (process_.state() != QProcess::NotRunning) {
            EXPECT_EQ(terminate(), 0) << errors();
        }
        process_.kill();
        process_.waitForFinished(5'000);
    }
    const std::string& log() {
        if (logFile_.isOpen() || logFile_.open(QIODevice::ReadOnly)) {
            log_ += logFile_.readAll().toStdString();
        }
        return log_;
    }
    // What it wrote on standard error, its journal (and a sanitizer's
    // report, say), all of it so far.
    std::string errors() {
        journal_ += process_.readAllStandardError().toStdString();
        return journal_;
    }
    // Signals it as systemctl reload and kill do.
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    // SIGTERM, and the exit status.
    int terminate() {
        process_.terminate();
        waitFor([this] { return process_.state() == QProcess::NotRunning; }, deadline());
        log();
        return process_.state() == QProcess::NotRunning ? process_.exitCode() : -1;
    }

    quint16 port = 0;
    quint16 share = 0;

  private:
    std::chrono::milliseconds deadline() const {
        return std::chrono::seconds(under_.isEmpty() ? 10 : 120);
    }
    quint16 portAfter(const std::string& text) {
        const auto at = log().find(text);
        return at == std::string::npos
                   ? 0
                   : static_cast<quint16>(std::stoi(log_.substr(at + text.size())));
    }
    const QStringList under_ =
        qEnvironmentVariable("KR60P_GATEWAY_UNDER").split(' ', Qt::SkipEmptyParts);
    QTemporaryDir folder_;
    QFile logFile_;
    QProcess process_;
    std::string log_;
    std::string journal_;
};

// A PJLink client of the plainest kind: one request, then its answer.
class Client {
  public:
    // from: the local address to connect from (another loopback address
    // plays another host).
    explicit Client(quint16 port, const std::string& password = {},
                    const QHostAddress& from = QHostAddress::Any) {
        if (from != QHostAddress::Any) socket.bind(from);
        socket.connectToHost("127.0.0.1", port);
        socket.waitForConnected(5'000);
        greeting = line();
        if (!password.empty() && greeting.starts_with("PJLINK 1 ")) {
            digest =
                QCryptographicHash::hash(QByteArray::fromStdString(greeting.substr(9) + password),
                                         QCryptographicHash::Md5)
                    .toHex()
                    .toStdString();
        }
    }
    // The next line, without its CR; "" when none came in time.
    std::string line() {
        // What an event loop run meanwhile has read counts too.
        buffer += socket.readAll().toStdString();
        while (buffer.find('\r') == std::string::npos) {
            if (!socket.waitForReadyRead(5'000)) return {};
            buffer += socket.readAll().toStdString();
        }
        const auto end = buffer.find('\r');
        std::string text = buffer.substr(0, end);
        buffer.erase(0, end + 1);
        return text;
    }
    std::string ask(const std::string& request) {
        send(std::exchange(digest, {}) + request + "\r");
        return line();
    }
    void send(const std::string& bytes) {
        socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
        socket.flush();
    }
    bool closedByGateway() {
        if (socket.state() != QAbstractSocket::UnconnectedState) socket.waitForDisconnected(5'000);
        return socket.state() == QAbstractSocket::UnconnectedState;
    }

    QTcpSocket socket;
    std::string greeting, digest, buffer;
};

// A Class 2 controller on another loopback address: where the gateway
// answers a search (PJLink's port 4352), or a --notify host (a port of its
// own, 0 a free one).
struct Controller {
    explicit Controller(quint16 port) {
        udp.bind(QHostAddress("127.0.0.2"), port);
        notify = "127.0.0.2:" + QString::number(udp.localPort());
    }
    // The next datagram, or "" when none came in time.
    std::string next(std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        std::string text;
        waitFor(
            [&] {
                if (!udp.hasPendingDatagrams()) return false;
                text = udp.receiveDatagram().data().toStdString();
                return true;
            },
            deadline);
        return text;
    }
    QUdpSocket udp;
    QString notify;  // for --notify
};
