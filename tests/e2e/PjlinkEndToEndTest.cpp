// kr60p-gateway as a control system meets it: PJLink clients on TCP, the
// simulator or a pseudo-terminal played by the test behind it, the line
// shared with kr60p-ctl, the device taken away and brought back, floods, and
// a PJLink client library nobody here wrote.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <algorithm>
#include <memory>

#include "GatewayProcess.h"
#include "SimulatorProcess.h"
#include "tests/support/NetworkPeers.h"
#include "tests/support/PtyPeer.h"

// Every Class 1 command against the simulator, with a password.
TEST(Pjlink, EveryClass1CommandAndErrorAgainstTheSimulatorWithAPassword) {
    QTemporaryDir folder;
    const QString passwordFile = written(folder, "password", "JBMIAProjectorLink\n");
    SimulatorProcess projector({"--warm-up", "300", "--cool-down", "300"});
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--password-file",
                     passwordFile, "--name", "Hall 3"});
    EXPECT_NE(gateway.log().find("a password is asked of every client"), std::string::npos);

    Client wrong(gateway.port, "not the password");
    EXPECT_EQ(wrong.ask("%1POWR ?"), "PJLINK ERRA");
    EXPECT_TRUE(wrong.closedByGateway());

    Client client(gateway.port, "JBMIAProjectorLink");
    EXPECT_TRUE(client.greeting.starts_with("PJLINK 1 ")) << client.greeting;
    struct Step {
        std::string request, answer;
    };
    for (const Step& step : std::vector<Step>{
             {"%1POWR ?", "%1POWR=0"},
             {"%1AVMT ?", "%1AVMT=ERR3"},
             {"%1INPT 12", "%1INPT=ERR3"},
             {"%1POWR 1", "%1POWR=OK"},
             {"%1POWR ?", "%1POWR=3"},
             {"%1INST ?", "%1INST=11 12 21"},
             {"%1NAME ?", "%1NAME=Hall 3"},
             {"%1INF1 ?", "%1INF1=ORVA"},
             {"%1INF2 ?", "%1INF2=KR60P"},
             {"%1CLSS ?", "%1CLSS=2"},
             {"%1INPT 31", "%1INPT=ERR2"},
             {"%1POWR 7", "%1POWR=ERR2"},
             {"%1FREZ ?", "%1FREZ=ERR1"},
             {"%2POWR ?", "%2POWR=ERR1"},
             {"%1NAME " + std::string(300, 'x'), "%1NAME=ERR2"},
         }) {
        EXPECT_EQ(client.ask(step.request), step.answer) << step.request;
    }
    ASSERT_TRUE(waitFor([&] { return client.ask("%1POWR ?") == "%1POWR=1"; }));
    for (const Step& step : std::vector<Step>{
             {"%1INPT 21", "%1INPT=OK"},
             {"%1INPT ?", "%1INPT=21"},
             {"%1AVMT 11", "%1AVMT=OK"},
             {"%1AVMT ?", "%1AVMT=11"},
             {"%1AVMT 31", "%1AVMT=OK"},
             {"%1AVMT ?", "%1AVMT=31"},
             {"%1AVMT 30", "%1AVMT=OK"},
             {"%1AVMT ?", "%1AVMT=30"},
             {"%1ERST ?", "%1ERST=000000"},
             {"%1POWR 0", "%1POWR=OK"},
             {"%1POWR ?", "%1POWR=2"},
             {"%1POWR 1", "%1POWR=ERR3"},
         }) {
        EXPECT_EQ(client.ask(step.request), step.answer) << step.request;
    }
    const std::string lamps = client.ask("%1LAMP ?");
    EXPECT_TRUE(QRegularExpression("^%1LAMP=\\d+ [01] \\d+ [01]$")
                    .match(QString::fromStdString(lamps))
                    .hasMatch())
        << lamps;
    // The simulator heard nothing for what needs no projector, nor for errors.
    for (const std::string& command : projector.commands()) {
        EXPECT_TRUE(command.starts_with("CR") || command.starts_with("C0")) << command;
    }

    EXPECT_EQ(gateway.terminate(), 0) << gateway.errors();
    const std::string log = gateway.log();
    EXPECT_NE(log.find("PJLINK 127.0.0.1:"), std::string::npos);
    EXPECT_NE(log.find("> %1POWR ?"), std::string::npos);
    EXPECT_NE(log.find("< %1POWR=1"), std::string::npos);
    // The gateway's log speaks of its one device, not of a port number.
    EXPECT_EQ(log.find("COM1"), std::string::npos);
    const auto closed = log.rfind("CLOSED " + projector.devicePath());
    ASSERT_NE(closed, std::string::npos);
    EXPECT_NE(log.find("ENDED: SIGTERM", closed), std::string::npos) << log.substr(closed);
}

// Every row of the status table reaches POWR and ERST as the README says.
TEST(Pjlink, EveryStateOfTheProjectorIsReportedAsPowerAndErrors) {
    QTemporaryDir folder;
    const QString status = folder.filePath("status");
    SimulatorProcess projector({"--status-from", status});
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath())});
    EXPECT_NE(gateway.log().find("loopback addresses only"), std::string::npos);
    Client client(gateway.port);
    EXPECT_EQ(client.greeting, "PJLINK 0");
    struct State {
        std::string reply, power, errors;
    };
    for (const State& state : std::vector<State>{
             {"00", "1", "000000"},
             {"80", "0", "000000"},
             {"40", "3", "000000"},
             {"20", "2", "000000"},
             {"10", "0", "000002"},
             {"08", "1", "001000"},
             {"02", "1", "000000"},
             {"04", "1", "000000"},
             {"28", "2", "001000"},
             {"24", "2", "000000"},
             {"88", "0", "001000"},
             {"21", "2", "020000"},
             {"81", "0", "020000"},
             {"77", "ERR4", "ERR4"},
         }) {
        written(folder, "status", QByteArray::fromStdString(state.reply + "\n"));
        // The answer of a moment ago stands for a second.
        std::string power, errors;
        EXPECT_TRUE(waitFor([&] {
            power = client.ask("%1POWR ?");
            errors = client.ask("%1ERST ?");
            return power == "%1POWR=" + state.power && errors == "%1ERST=" + state.errors;
        })) << state.reply
            << ": " << power << ", " << errors;
    }
}

// Many clients polling at once and kr60p-ctl through the share: the test
// plays the projector and watches for a second line before a reply.
TEST(Pjlink, ManyClientsAndTheShareGetTheirOwnAnswersOneExchangeAtATime) {
    PtyPeer projector;
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--share",
                     "tcp://127.0.0.1:0"});
    ASSERT_NE(gateway.share, 0);
    std::string heard;
    int exchanges = 0;
    bool overlapped = false;
    const auto serve = [&] {
        heard += projector.readAvailable();
        const auto end = heard.find('\r');
        if (end == std::string::npos) return;
        const std::string line = heard.substr(0, end);
        heard.erase(0, end + 1);
        overlapped = overlapped || heard.find('\r') != std::string::npos;
        ++exchanges;
        projector.write(line == "CR0"    ? "00\r"
                        : line == "CR1"  ? "2\r"
                        : line[1] == 'R' ? "01\r"
                                         : "\x06");
    };
    std::vector<std::unique_ptr<Client>> clients;
    clients.reserve(20);
    for (int i = 0; i < 20; ++i) clients.push_back(std::make_unique<Client>(gateway.port));
    QProcess ctl;
    ctl.start(KR60P_CTL, {"-d", QString("tcp://127.0.0.1:%1").arg(gateway.share), "power-state",
                          "input-mode", "power-on"});
    for (auto& client : clients) client->send("%1POWR ?\r%1INPT ?\r");
    const auto answered = [&] {
        return std::all_of(clients.begin(), clients.end(), [](const auto& client) {
            client->buffer += client->socket.readAll().toStdString();
            return client->buffer == "%1POWR=1\r%1INPT=12\r";
        });
    };
    ASSERT_TRUE(waitFor([&] {
        serve();
        return answered() && ctl.state() == QProcess::NotRunning;
    })) << clients.front()->buffer;
    EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    EXPECT_EQ(ctl.readAllStandardOutput().toStdString(), "Power ON\nComputer 2\nACK\n");
    EXPECT_FALSE(overlapped);
    // Forty PJLink queries shared two exchanges or a few more; kr60p-ctl's three were its own.
    EXPECT_LE(exchanges, 9);
}

// The device goes (the simulator stopped) and comes back (another, at the
// same path): ERR4 at once meanwhile, answers again without a restart.
TEST(Pjlink, ADeviceTakenAwayIsAnErrorAtOnceAndServedAgainWhenBack) {
    QTemporaryDir folder;
    const std::string device = folder.filePath("projector").toStdString();
    auto first = std::make_unique<SimulatorProcess>();
    ASSERT_TRUE(
        QFile::link(QString::fromStdString(first->devicePath()), QString::fromStdString(device)));
    Gateway gateway({"--device", QString::fromStdString(device)});
    Client client(gateway.port);
    EXPECT_EQ(client.ask("%1POWR ?"), "%1POWR=0") << gateway.log();
    first.reset();
    QFile::remove(QString::fromStdString(device));
    ASSERT_TRUE(waitFor([&] { return gateway.log().find("LOST") != std::string::npos; }));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(client.ask("%1POWR ?"), "%1POWR=ERR4");
    EXPECT_LT(timer.elapsed(), 400);  // no time-out waited for
    EXPECT_EQ(client.ask("%1INF2 ?"), "%1INF2=KR60P");
    SimulatorProcess second;
    ASSERT_TRUE(
        QFile::link(QString::fromStdString(second.devicePath()), QString::fromStdString(device)));
    EXPECT_TRUE(waitFor([&] { return client.ask("%1POWR ?") == "%1POWR=0"; }));
}

// Floods, junk, a client that never reads, one connection too many: the
// others are served all the while, and the gateway lives on. (On loopback
// the system's buffers take megabytes of unread answers before the
// gateway's own limit is reached.)
TEST(Pjlink, NoClientHoldsUpTheOthers) {
    SimulatorProcess projector;
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath())});
    Client flood(gateway.port);
    Client junk(gateway.port);
    Client deaf(gateway.port);
    flood.send(std::string(1 << 20, 'A'));
    junk.send(std::string("\x00\xff\x1b[2J\r\r\n%1\r%\r", 14));
    deaf.socket.setReadBufferSize(1);
    std::string requests;
    for (int i = 0; i < 20000; ++i) requests += "%1INF1 ?\r";
    deaf.send(requests);
    std::vector<std::unique_ptr<Client>> more;
    while (more.size() < 61) more.push_back(std::make_unique<Client>(gateway.port));
    Client tooMany(gateway.port);
    EXPECT_EQ(tooMany.greeting, "");
    EXPECT_TRUE(tooMany.closedByGateway());
    more.front().reset();  // room for one again
    ASSERT_TRUE(waitFor(
        [&] { return gateway.log().find("CLOSED: closed by the client") != std::string::npos; }));
    Client polite(gateway.port);
    EXPECT_EQ(polite.greeting, "PJLINK 0");
    EXPECT_EQ(polite.ask("%1POWR ?"), "%1POWR=0");
    // The flood's line ends at last; the next is read as ever.
    flood.send("\r");
    EXPECT_EQ(flood.ask("%1CLSS ?"), "%1CLSS=2");
    EXPECT_EQ(junk.line(), "%1=ERR1");
    EXPECT_EQ(junk.ask("%1INF2 ?"), "%1INF2=KR60P") << gateway.log();
}

// A PJLink client library nobody here wrote (npm's pjlink), with a password.
TEST(Pjlink, AClientLibraryReadsPowerInputsErrorsLampsNameAndMaker) {
    const QString script = QString(KR60P_SOURCE_DIR) + "/tests/interop/pjlink-client.js";
    ASSERT_TRUE(QDir(QString(KR60P_SOURCE_DIR) + "/tests/interop/node_modules/pjlink").exists())
        << "scripts/install-deps installs the client library";
    QTemporaryDir folder;
    const QString passwordFile = written(folder, "password", "s3cret-Hall3\n");
    SimulatorProcess projector({"--warm-up", "200"});
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--password-file",
                     passwordFile, "--name", "Hall 3"});
    QProcess node;
    node.start("node", {script, "127.0.0.1", QString::number(gateway.port), "s3cret-Hall3"});
    ASSERT_TRUE(waitFor([&] { return node.state() == QProcess::NotRunning; }));
    const QByteArray out = node.readAllStandardOutput();
    ASSERT_EQ(node.exitCode(), 0) << out.toStdString() << node.readAllStandardError().toStdString();
    const QJsonObject seen = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(seen["power"].toInt(), 0);
    EXPECT_EQ(seen["powerOn"].toString(), "ok");
    EXPECT_EQ(seen["inputs"].toString(), "rgb1 rgb2 video1");
    EXPECT_EQ(seen["errors"].toString(), "fan:0 lamp:0 temperature:0 cover:0 filter:0 other:0");
    EXPECT_EQ(seen["lamps"].toString(), "1234 off, 1234 off");
    EXPECT_EQ(seen["name"].toString(), "Hall 3");
    EXPECT_EQ(seen["manufacturer"].toString(), "ORVA");
    EXPECT_EQ(seen["model"].toString(), "KR60P");
    EXPECT_EQ(seen["class"].toString(), "2");
    EXPECT_EQ(seen["wrongPassword"].toString(), "refused");
}

// Behind ser2net, the device server technicians run (RFC 2217): answers,
// the server stopped (ERR4 at once) and started again (answers again).
TEST(Pjlink, BehindSer2netAnswersAndComesBackWithTheServer) {
    if (!Ser2net::installed()) GTEST_SKIP() << "ser2net is not installed";
    PtyPeer projector;
    Ser2net server(Ser2net::Mode::Rfc2217, projector.devicePath(), "19200n81");
    ASSERT_TRUE(server.start());
    Gateway gateway({"--device", QString::fromStdString(server.address())});
    Client client(gateway.port);
    std::string heard;
    const auto powerAnswered = [&] {
        client.send("%1POWR ?\r");
        std::string answer;
        waitFor([&] {
            heard += projector.readAvailable();
            if (heard.find("CR0\r") != std::string::npos) {
                heard.clear();
                projector.write("00\r");
            }
            client.buffer += client.socket.readAll().toStdString();
            const auto end = client.buffer.find('\r');
            if (end == std::string::npos) return false;
            answer = client.buffer.substr(0, end);
            client.buffer.erase(0, end + 1);
            return true;
        });
        return answer;
    };
    EXPECT_EQ(powerAnswered(), "%1POWR=1");
    server.stop();
    ASSERT_TRUE(waitFor([&] { return gateway.log().find("LOST") != std::string::npos; }));
    EXPECT_EQ(client.ask("%1POWR ?"), "%1POWR=ERR4");
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(waitFor([&] { return powerAnswered() == "%1POWR=1"; }, std::chrono::seconds(15)));
}

TEST(Pjlink, ASearchOnLoopbackIsAnsweredWithAMacAddress) {
    SimulatorProcess projector;
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath())});
    Controller controller(4352);  // the gateway is on another port: the answer goes to 4352
    const QByteArray search = "%2SRCH\r";
    controller.udp.writeDatagram(search, QHostAddress("127.0.0.1"), gateway.port);
    const std::string answer = controller.next();
    EXPECT_TRUE(QRegularExpression("^%2ACKN=([0-9A-F]{2}:){5}[0-9A-F]{2}\r$")
                    .match(QString::fromStdString(answer))
                    .hasMatch())
        << answer;
}

// Class 2 end to end, with the higher security level: the commands reach
// the simulator, and a change made behind the gateway's back (through the
// share) is told to the --notify host. The controller that sends commands
// is on this host, so it is not told.
TEST(Pjlink, Class2CommandsReachTheProjectorAndChangesAreNotified) {
    QTemporaryDir folder;
    const QString passwordFile = written(folder, "password", "hall-3\n");
    SimulatorProcess projector({"--warm-up", "300"});
    Controller controller(0);
    Gateway gateway({"--device", QString::fromStdString(projector.devicePath()), "--share",
                     "tcp://127.0.0.1:0", "--password-file", passwordFile, "--notify",
                     controller.notify});
    Client client(gateway.port, {}, QHostAddress("127.0.0.2"));
    client.send("PJLINK 2\r");
    const std::string offer = client.line();
    ASSERT_TRUE(offer.starts_with("PJLINK 2 ") && offer.size() == 9 + 32) << offer;
    const QByteArray ours = QByteArray(16, '\x5a');
    const QByteArray theirs = QByteArray::fromHex(QByteArray::fromStdString(offer.substr(9)));
    QByteArray mixed(16, 0);
    for (int i = 0; i < 16; ++i) mixed[i] = static_cast<char>(ours[i] ^ theirs[i]);
    const QByteArray digest =
        QCryptographicHash::hash(mixed.toHex() + "hall-3", QCryptographicHash::Sha256).toHex();
    client.digest = (ours.toHex() + digest).toStdString();
    EXPECT_EQ(client.ask("%1POWR ?"), "%1POWR=0");
    EXPECT_EQ(client.ask("%1CLSS ?"), "%1CLSS=2");
    EXPECT_EQ(client.ask("%2INST ?"), "%2INST=11 12 21");
    EXPECT_EQ(client.ask("%2INNM ?12"), "%2INNM=Computer 2");
    EXPECT_EQ(client.ask("%2SVER ?"), "%2SVER=KR60P Ver1.40");
    EXPECT_EQ(client.ask("%2SNUM ?"), "%2SNUM=");

    EXPECT_TRUE(controller.next().starts_with("%2LKUP=")) << "told first that it serves";
    QTcpSocket share;
    share.connectToHost("127.0.0.1", gateway.share);
    ASSERT_TRUE(share.waitForConnected(5'000));
    share.write("C00\r");  // the panel turns it on
    EXPECT_EQ(controller.next(), "%2POWR=3\r");
    EXPECT_EQ(controller.next(), "%2POWR=1\r");
    share.write("C07\r");
    EXPECT_EQ(controller.next(), "%2INPT=21\r");

    EXPECT_EQ(client.ask("%2FREZ 1"), "%2FREZ=OK");
    EXPECT_EQ(client.ask("%2FREZ ?"), "%2FREZ=1");
    EXPECT_EQ(client.ask("%2SVOL 1"), "%2SVOL=OK");
    const auto heard = [&projector](const std::string& command) {
        return waitFor([&] {
            const auto commands = projector.commands();
            return std::find(commands.begin(), commands.end(), command) != commands.end();
        });
    };
    EXPECT_TRUE(heard("C43<CR>"));
    EXPECT_TRUE(heard("C09<CR>"));
}
