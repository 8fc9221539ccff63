// The gateway as an integrator meets it in the field: a configuration read
// again on SIGHUP, a journal of the events alone, a projector that falls
// silent and answers again, requests ended as scripts end them, a full
// share, and kr60p-ctl through the share while PJLink clients poll.

#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <memory>
#include <thread>

#include "GatewayProcess.h"
#include "SimulatorProcess.h"
#include "tests/support/PtyPeer.h"

namespace {

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t found = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++found;
    }
    return found;
}

}  // namespace

// systemctl reload: what changed applied without dropping the client that is
// connected, what needs a restart said; a file that no longer reads keeps
// the running settings.
TEST(GatewayField, SighupReadsTheConfigurationAgainAndKeepsItWhenItIsWrong) {
    QTemporaryDir folder;
    SimulatorProcess projector;
    const std::string& device = projector.devicePath();
    const QString conf = written(folder, "hall-3.conf",
                                 QByteArray::fromStdString("device=" + device + "\nname=Hall 3\n"));
    Gateway gateway({"--config", conf});
    Client client(gateway.port);
    EXPECT_EQ(client.ask("%1NAME ?"), "%1NAME=Hall 3");
    written(folder, "hall-3.conf",
            QByteArray::fromStdString("device=" + device + "\nname=Hall 3 East # renamed\n" +
                                      "share=tcp://127.0.0.1:0\n"));
    gateway.signal(SIGHUP);
    ASSERT_TRUE(waitFor([&] { return gateway.log().find("RELOADED") != std::string::npos; }));
    EXPECT_NE(gateway.log().find("name applied; share need a restart"), std::string::npos)
        << gateway.log();
    EXPECT_EQ(client.ask("%1NAME ?"), "%1NAME=Hall 3 East");  // the same connection
    written(folder, "hall-3.conf", "device=" + QByteArray::fromStdString(device) + "\nnmae=x\n");
    gateway.signal(SIGHUP);
    ASSERT_TRUE(waitFor([&] { return gateway.log().find("RELOAD FAILED") != std::string::npos; }));
    EXPECT_NE(gateway.log().find(", line 2: \"nmae=x\" is not one of the settings"),
              std::string::npos);
    EXPECT_EQ(client.ask("%1NAME ?"), "%1NAME=Hall 3 East");
    EXPECT_EQ(gateway.terminate(), 0);
    EXPECT_EQ(count(gateway.log(), "ENDED:"), 1u);
}

// The journal has the events a person acts on; every request and every byte
// of the line go to --log. A flood is said once, with its count at its end.
TEST(GatewayField, TheJournalHasTheEventsAndTheLogTheTraffic) {
    SimulatorProcess projector;
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath())});
    Client client(gateway.port);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(client.ask("%1POWR ?"), "%1POWR=0");
    std::string flood;
    for (int i = 0; i < 1000; ++i) flood += "%1CLSS ?\r";
    client.send(flood);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(client.line(), "%1CLSS=2");
    ASSERT_TRUE(waitFor([&] { return gateway.errors().find("FLOOD OVER") != std::string::npos; }));
    EXPECT_EQ(gateway.terminate(), 0);
    const std::string journal = gateway.errors();
    // Started, where it listens, the speed, opened, a new client, the flood,
    // its end, closed, ended.
    EXPECT_EQ(count(journal, "\n"), 9u) << journal;
    EXPECT_NE(journal.find("PJLINK 127.0.0.1 NEW CLIENT"), std::string::npos);
    EXPECT_TRUE(QRegularExpression("FLOOD OVER: 10[0-9][0-9] requests in 0 s")
                    .match(QString::fromStdString(journal))
                    .hasMatch())
        << journal;
    EXPECT_EQ(journal.find(" TX "), std::string::npos);
    EXPECT_EQ(journal.find("%1POWR"), std::string::npos);
    EXPECT_EQ(count(gateway.log(), "> %1POWR ?"), 20u);
    EXPECT_GE(count(gateway.log(), " TX C R 0 CR"), 1u);
}

// The projector's mains off, or its cable out at its end: after three
// exchanges unanswered it is said once and told as an error; what needs it
// is answered ERR4 at once; when it answers again that is said and told.
TEST(GatewayField, ASilentProjectorIsSaidNotifiedRefusedAtOnceAndSeenToAnswerAgain) {
    PtyPeer projector;
    Controller controller(0);
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--notify",
                     controller.notify});
    EXPECT_TRUE(controller.next().starts_with("%2LKUP="));
    Client client(gateway.port);
    ASSERT_TRUE(waitFor([&] { return gateway.errors().find("SILENT:") != std::string::npos; }));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(client.ask("%1INPT ?"), "%1INPT=ERR4");
    EXPECT_LT(timer.elapsed(), 250);  // at once, not after a time-out
    EXPECT_EQ(controller.next(), "%2ERST=000002\r");
    // It answers again: the next probe finds it.
    projector.readAvailable();
    std::string heard;
    ASSERT_TRUE(waitUntilReceived(projector, heard, "CR0\r"));
    projector.write("80\r");
    ASSERT_TRUE(waitFor([&] { return gateway.errors().find("ANSWERING") != std::string::npos; }));
    EXPECT_EQ(controller.next(), "%2ERST=000000\r");
    EXPECT_EQ(count(gateway.errors(), "SILENT:"), 1u);
}

// nc and many scripts end their lines with LF or CR LF; a wrong digest on a
// later request is refused as on the first, and the refusal is in the
// journal with what was refused.
TEST(GatewayField, LinesEndedByLfAreAnsweredAndAWrongDigestLaterIsRefused) {
    QTemporaryDir folder;
    const QString password = written(folder, "password", "hall-3\n");
    SimulatorProcess projector;
    Gateway gateway(
        {"--device", QString::fromStdString(projector.devicePath()), "--password-file", password});
    Client client(gateway.port, "hall-3");
    client.send(client.digest + "%1CLSS ?\n%1NAME ?\r\n%1INF1 ?\n");
    EXPECT_EQ(client.line(), "%1CLSS=2");
    EXPECT_TRUE(client.line().starts_with("%1NAME="));
    EXPECT_EQ(client.line(), "%1INF1=ORVA");
    client.send(std::string(32, 'f') + "%1POWR ?\n");
    EXPECT_EQ(client.line(), "PJLINK ERRA");
    EXPECT_TRUE(client.closedByGateway());
    ASSERT_TRUE(waitFor([&] {
        return gateway.errors().find("REFUSED: a wrong password digest before a later request") !=
               std::string::npos;
    }));
}

// A full share says what device servers say, so that the panel and
// kr60p-ctl say the line is in use.
TEST(GatewayField, AFullShareSaysItIsInUse) {
    SimulatorProcess projector;
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--share",
                     "tcp://127.0.0.1:0"});
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost("127.0.0.1", gateway.share);
        ASSERT_TRUE(clients.back()->waitForConnected(5'000));
    }
    QProcess ctl;
    ctl.start(KR60P_CTL,
              {"-d", "tcp://127.0.0.1:" + QString::number(gateway.share), "power-state"});
    ASSERT_TRUE(ctl.waitForFinished(10'000));
    EXPECT_EQ(ctl.exitCode(), 3);
    const std::string said = ctl.readAllStandardError().toStdString();
    EXPECT_NE(said.find("16 clients are connected already"), std::string::npos) << said;
}

// kr60p-ctl through the share while PJLink clients poll a projector that
// takes 300 ms: every command's reply is its answer, within the default
// time-out for a tcp:// device.
TEST(GatewayField, ThroughTheShareUnderPollingEveryReplyCounts) {
    SimulatorProcess projector({"--delay", "300"});
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--share",
                     "tcp://127.0.0.1:0"});
    std::atomic<bool> polling{true};
    std::vector<std::thread> pollers;
    pollers.reserve(3);
    for (int i = 0; i < 3; ++i) {
        pollers.emplace_back([&, i] {
            QTcpSocket socket;
            socket.connectToHost("127.0.0.1", gateway.port);
            socket.waitForConnected(5'000);
            socket.waitForReadyRead(5'000);
            socket.readAll();
            const char* requests[] = {"%1POWR ?\r", "%1INPT ?\r", "%1AVMT ?\r"};
            for (int k = i; polling; ++k) {
                socket.write(requests[k % 3]);
                socket.waitForBytesWritten(1000);
                socket.waitForReadyRead(5'000);
                socket.readAll();
                std::this_thread::sleep_for(std::chrono::milliseconds(350));
            }
        });
    }
    for (int run = 0; run < 5; ++run) {
        QProcess ctl;
        ctl.start(KR60P_CTL,
                  {"-d", "tcp://127.0.0.1:" + QString::number(gateway.share), "power-off"});
        ASSERT_TRUE(ctl.waitForFinished(10'000));
        EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    }
    polling = false;
    for (std::thread& poller : pollers) poller.join();
}
