// Projectors behind a device server, for real: the simulator on TCP in both
// modes, a server stopped and started, a busy one, one that never answers,
// one that speaks telnet garbage, and addresses that cannot work.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>

#include "BusyServer.h"
#include "PanelWindow.h"
#include "SimulatorProcess.h"
#include "tests/support/NetworkPeers.h"
#include "tests/support/PtyPeer.h"

namespace {

std::size_t openFiles() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                      std::filesystem::directory_iterator()));
}

// Clicks and waits for the decoded line, after the last exchange has ended.
bool decodes(PanelWindow& panel, const char* button, const QString& expected,
             const char* label = names::StatusText) {
    if (!waitFor([&] { return !panel.timerRunning(names::ReplyTimeout); })) return false;
    panel.click(button);
    return waitFor([&] { return panel.text(label) == expected; });
}

// A port or a speed, as the operator chooses it under "COM".
void chooseUnderCom(PanelWindow& panel, const char* option) {
    panel.click(names::Com);
    panel.find<QRadioButton>(option)->click();
}

// The longest the event loop went without turning while `until` was awaited.
std::int64_t longestStall(const std::function<bool()>& until) {
    QElapsedTimer clock;
    clock.start();
    std::int64_t last = 0, longest = 0;
    QTimer beat;
    beat.setInterval(5);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longest = std::max<std::int64_t>(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    beat.start();
    waitFor(until);
    return longest;
}

}  // namespace

TEST(OnTcp, BothModesCarryCommandsAndOnlyRfc2217CarriesTheSpeed) {
    for (const char* scheme : {"tcp", "rfc2217"}) {
        SCOPED_TRACE(scheme);
        SimulatorProcess simulator({"--listen", QString(scheme) + "://127.0.0.1:0"});
        PanelWindow panel(simulator.devicePath());
        EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
        // The projector runs at 19200: at 9600 a line that carries the speed
        // turns to noise; a raw one does not carry it.
        chooseUnderCom(panel, names::Speed9600);
        const bool rfc2217 = std::string(scheme) == "rfc2217";
        EXPECT_TRUE(decodes(panel, names::StatusQuery, rfc2217 ? " X X X X" : " Stand by",
                            rfc2217 ? names::ReceivedTrace : names::StatusText));
        chooseUnderCom(panel, names::Speed19200);
        panel.form.link().send("C01");  // any line, so that the next decoded line is new
        EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
        EXPECT_TRUE(panel.warnings.empty()) << panel.warnings.front();
    }
}

TEST(OnTcp, AServerStoppedAndStartedGivesOneBoxAndAReconnectEachTime) {
    auto simulator =
        std::make_unique<SimulatorProcess>(QStringList{"--listen", "tcp://127.0.0.1:0"});
    const std::string address = simulator->devicePath();
    PanelWindow panel(address);
    std::size_t filesAfterFirst = 0;
    for (int stop = 1; stop <= 3; ++stop) {
        SCOPED_TRACE(stop);
        simulator.reset();
        ASSERT_TRUE(
            waitFor([&] { return panel.warnings.size() == static_cast<std::size_t>(stop); }));
        EXPECT_NE(panel.warnings.back().find("The connection to the device server " + address +
                                             " (COM1) was lost"),
                  std::string::npos)
            << panel.warnings.back();
        simulator = std::make_unique<SimulatorProcess>(
            QStringList{"--listen", QString::fromStdString(address)});
        ASSERT_TRUE(waitFor([&] { return panel.tk.serialPort().portOpen(); }));
        panel.click(names::StatusQuery);
        EXPECT_TRUE(waitFor([&] { return simulator->commands().size() == 1; }));
        if (stop == 1) filesAfterFirst = openFiles();
    }
    EXPECT_EQ(panel.warnings.size(), 3u);
    EXPECT_EQ(openFiles(), filesAfterFirst);
}

TEST(OnTcp, ABusyServerIsReportedInItsOwnWords) {
    SimulatorProcess simulator({"--listen", "tcp://127.0.0.1:0"});
    EXPECT_TRUE(switchingToItSaysBusy(simulator.devicePath()));
}

TEST(OnTcp, AConnectionThatIsNeverMadeTimesOutWithoutHoldingUpTheWindow) {
    StalledListener stalled;
    PtyPeer peer;
    PanelWindow panel(peer.devicePath(), "tcp://127.0.0.1:" + std::to_string(stalled.port()));
    chooseUnderCom(panel, names::Com2);
    const auto stall = longestStall([&] { return !panel.warnings.empty(); });
    ASSERT_FALSE(panel.warnings.empty());
    EXPECT_NE(panel.warnings[0].find("no connection within 3 seconds (timed out)"),
              std::string::npos)
        << panel.warnings[0];
    // A freeze would be the whole 3 s; a generous bound keeps this steady.
    EXPECT_LT(stall, 1000);
}

// A raw TCP server given as rfc2217:// is told once, and the commands then
// go to it as they are.
TEST(OnTcp, ARawServerGivenAsRfc2217IsToldOnceAndGetsPlainCommands) {
    auto simulator =
        std::make_unique<SimulatorProcess>(QStringList{"--listen", "tcp://127.0.0.1:0"});
    const std::string raw = simulator->devicePath();
    PanelWindow panel("rfc2217://" + raw.substr(raw.find("://") + 3));
    ASSERT_TRUE(waitFor([&] { return !panel.warnings.empty(); }));
    EXPECT_NE(panel.warnings[0].find("does not speak RFC 2217"), std::string::npos)
        << panel.warnings[0];
    EXPECT_NE(panel.warnings[0].find("use " + raw + "."), std::string::npos) << panel.warnings[0];
    panel.form.link().send("C01");
    EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
    const std::vector<std::string> commands = simulator->commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "CR0<CR>");

    // Once for the device: a reconnect does not tell it again.
    simulator.reset();
    ASSERT_TRUE(waitFor([&] { return panel.warnings.size() == 2; }));  // the loss
    simulator =
        std::make_unique<SimulatorProcess>(QStringList{"--listen", QString::fromStdString(raw)});
    ASSERT_TRUE(waitFor([&] { return panel.tk.serialPort().portOpen(); }));
    panel.click(names::StatusQuery);  // goes out after the open's news, a notice included
    ASSERT_TRUE(waitFor([&] { return simulator->commands().size() == 1; }));
    EXPECT_EQ(panel.warnings.size(), 2u) << panel.warnings.back();
}

// A server that closes at once is quoted, and called busy only when it says
// so.
TEST(OnTcp, AServerThatClosesAtOnceIsQuotedAndBusyOnlyWhenItSaysSo) {
    struct Case {
        QByteArray says;
        std::string box;
    };
    for (const Case& c : std::vector<Case>{
             {"Device open failure: Value or file not found\r\n",
              "closed the connection at once, saying \"Device open failure: Value or file not "
              "found\""},
             {"HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n",
              "closed the connection at once, saying \"HTTP/1.1 400 Bad Request Connection: "
              "close\""},
             {"", "closed the connection at once, without saying why"},
             {"Port already in use\r\n", "is busy: it closed the connection at once"},
         }) {
        SCOPED_TRACE(c.says.toStdString());
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [&] {
            QTcpSocket* client = server.nextPendingConnection();
            client->write(c.says);
            client->disconnectFromHost();
        });
        PtyPeer spare;
        PanelWindow panel(spare.devicePath(),
                          "tcp://127.0.0.1:" + std::to_string(server.serverPort()));
        chooseUnderCom(panel, names::Com2);
        ASSERT_TRUE(waitFor([&] { return !panel.warnings.empty(); }));
        EXPECT_NE(panel.warnings[0].find(c.box), std::string::npos) << panel.warnings[0];
    }
}

// What a server sends while the new connection is watched is data all the
// same, shown once the port counts as open.
TEST(OnTcp, BytesThatComeWhileTheConnectionSettlesAreShown) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection,
                     [&] { server.nextPendingConnection()->write("80\r"); });
    PanelWindow panel("tcp://127.0.0.1:" + std::to_string(server.serverPort()));
    EXPECT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " 8 0 CR "; }))
        << panel.text(names::ReceivedTrace).toStdString();
}

// The simulator notices a client that hung up: the next one is served.
TEST(OnTcp, TheSimulatorServesTheNextClientOnceOneHasHungUp) {
    SimulatorProcess simulator({"--listen", "tcp://127.0.0.1:0"});
    const std::string& address = simulator.devicePath();
    {
        QTcpSocket first;
        ASSERT_TRUE(connectTo(first, address));
        first.disconnectFromHost();
    }
    PanelWindow panel(address);
    EXPECT_TRUE(decodes(panel, names::StatusQuery, " Stand by"));
}

// A line asked for while the connection is still being made is refused with
// the reason, never kept to go out later behind the operator's back.
TEST(OnTcp, ALineWhileConnectingIsRefusedNotQueued) {
    StalledListener stalled;
    PtyPeer peer;
    PanelWindow panel(peer.devicePath(), "tcp://127.0.0.1:" + std::to_string(stalled.port()));
    chooseUnderCom(panel, names::Com2);
    panel.click(names::PowerOn);
    ASSERT_TRUE(waitFor([&] { return !panel.warnings.empty(); }));
    EXPECT_NE(panel.warnings[0].find("Nothing was sent: the panel is still connecting"),
              std::string::npos)
        << panel.warnings[0];
}

// A server that speaks telnet at a raw client's port, and one that talks
// nonsense on an RFC 2217 connection: no telnet byte ever shows as data.
TEST(OnTcp, TelnetBytesNeverShowAsData) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QTcpSocket* client = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection,
                     [&] { client = server.nextPendingConnection(); });
    PanelWindow panel("rfc2217://127.0.0.1:" + std::to_string(server.serverPort()));
    ASSERT_TRUE(waitFor([&] { return client != nullptr; }));
    const QByteArray iac(1, '\xff');
    const QByteArray modemState("\xfa\x2c\x6b\x00", 4);  // SB COM-PORT NOTIFY-MODEMSTATE 0
    client->write(iac + "\xfb\x01" + iac + "\xfd\x63" + "8" + iac + modemState + iac + "\xf0" +
                  iac + iac + "0\r" + iac + "\xf1");
    ASSERT_TRUE(waitFor([&] { return panel.text(names::ReceivedTrace) == " 8 ? 0 CR "; }))
        << panel.text(names::ReceivedTrace).toStdString();
    // A subnegotiation that never ends swallows what follows, at no cost.
    client->write(iac + "\xfa\x2c" + QByteArray(1 << 20, '\x01'));
    client->write(QByteArray(1 << 20, '\xff'));
    panel.click(names::PowerOn);
    QByteArray sent;
    ASSERT_TRUE(waitFor([&] {
        sent += client->readAll();
        return sent.contains("C00\r");  // a CR NUL, as telnet has it without BINARY
    }));
    EXPECT_EQ(panel.text(names::ReceivedTrace), " 8 ? 0 CR ");
}

TEST(Program, NetworkAddressesThatCannotWorkAreRefusedWithTheReason) {
    struct Case {
        std::string device;
        std::string said;
        int status;  // -1: the start-up box waits for the operator
    };
    const std::string refused = "tcp://127.0.0.1:" + std::to_string(freePort());
    for (const Case& c : std::vector<Case>{
             {"tcp://projector",
              "\"tcp://projector\" is not a device server's address: it has no port", 2},
             {"tcp://projector:0", "it has port 0, outside 1 to 65535", 2},
             {"telnet://projector:23", "it has an unknown scheme, telnet://", 2},
             {"rfc2217://:4001", "it has no host", 2},
             {refused, "the connection was refused", -1},
             {"tcp://no-such-host.invalid:4001", "there is no host named no-such-host.invalid", -1},
         }) {
        SCOPED_TRACE(c.device);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.start(KR60P_PANEL, {"--com1", QString::fromStdString(c.device)});
        std::string errors;
        waitFor([&] {
            errors += program.readAllStandardError().toStdString();
            return program.state() == QProcess::NotRunning ||
                   errors.find(c.said) != std::string::npos;
        });
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
        if (c.status >= 0) {
            // Already over, waitForFinished would say false.
            ASSERT_TRUE(program.state() == QProcess::NotRunning || program.waitForFinished(5'000));
            EXPECT_EQ(program.exitCode(), c.status);
            EXPECT_NE(errors.find("tcp://HOST:PORT"), std::string::npos);
        } else {
            EXPECT_EQ(program.state(), QProcess::Running);  // its box offers another device
            program.kill();
            program.waitForFinished();
        }
    }
}
