// kr60p-ctl as a script runs it: commands by name, replies complete at an
// ACK or a CR, words or JSON Lines, and the exit status for each fault.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <map>

#include "SimulatorProcess.h"
#include "tests/support/PtyPeer.h"

namespace {

struct CtlRun {
    int status = -1;
    std::string out, errors;
};

// Runs kr60p-ctl; `serve` plays the projector meanwhile, if there is one.
CtlRun ctl(const QStringList& arguments, const std::function<void()>& serve = {},
           const QByteArray& input = {}) {
    QProcess program;
    program.start(KR60P_CTL, arguments);
    program.write(input);
    program.closeWriteChannel();
    CtlRun run;
    waitFor([&] {
        if (serve) serve();
        run.out += program.readAllStandardOutput().toStdString();
        run.errors += program.readAllStandardError().toStdString();
        return program.state() == QProcess::NotRunning;
    });
    run.out += program.readAllStandardOutput().toStdString();
    run.errors += program.readAllStandardError().toStdString();
    run.status = program.state() == QProcess::NotRunning ? program.exitCode() : -1;
    return run;
}

// The object, less the time of the reply, which every object has.
QJsonObject json(const std::string& line) {
    QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
    EXPECT_TRUE(QDateTime::fromString(object.take("time").toString(), Qt::ISODateWithMs).isValid())
        << line;
    return object;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        found.push_back(text.substr(at, end - at));
    }
    return found;
}

}  // namespace

// A reply is complete at a CR (here after two pieces) or an ACK, and decoded
// where the decoder knows the query.
TEST(Ctl, EachCommandWaitsForItsReplyAndPrintsJsonLines) {
    PtyPeer projector;
    std::string heard;
    const auto serve = [&] {
        heard += projector.readAvailable();
        for (const auto& [line, reply] : std::vector<std::pair<std::string, std::string>>{
                 {"CR0\r", "8"}, {"C00\r", "\x06"}, {"CR PRESSURE\r", "512\r"}}) {
            if (const auto at = heard.find(line); at != std::string::npos) {
                heard.erase(at, line.size());
                projector.write(reply);
                if (reply == "8") projector.write("0\r");
            }
        }
    };
    const CtlRun run = ctl({"-d", QString::fromStdString(projector.devicePath()), "--json",
                            "power-state", "power-on", "send", "CR PRESSURE"},
                           serve);
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto printed = lines(run.out);
    ASSERT_EQ(printed.size(), 3u) << run.out;
    EXPECT_EQ(json(printed[0]), (QJsonObject{{"command", "power-state"},
                                             {"code", "CR0"},
                                             {"reply", " 8 0 CR "},
                                             {"answered", true},
                                             {"decoded", "Stand by"},
                                             {"state", "standby"}}));
    EXPECT_EQ(
        json(printed[1]),
        (QJsonObject{
            {"command", "power-on"}, {"code", "C00"}, {"reply", " ACK "}, {"answered", true}}));
    EXPECT_EQ(json(printed[2])["decoded"], "650 hPa");
    EXPECT_EQ(json(printed[2])["hPa"], 650);
    EXPECT_EQ(run.errors, "");
}

// A reply belongs to its command, whole, or it is no answer: a late one is
// nobody's, a cut one and one that cannot be read fail the run.
TEST(Ctl, AReplyThatIsLateCutOrUnreadableIsNoAnswer) {
    struct Case {
        QStringList simulator;
        std::vector<bool> answered;
        int status;
        std::string said;
    };
    for (const Case& c : std::vector<Case>{
             {{"--delay", "700"}, {false, false}, 1, "no reply to CR0"},
             {{"--garbage", "4"}, {false, false}, 1, "the reply to CR0"},
             {{"--chunk", "1", "--chunk-gap", "100"}, {true, true}, 0, ""},
         }) {
        SCOPED_TRACE(c.simulator.join(' ').toStdString());
        SimulatorProcess simulator(c.simulator);
        const CtlRun run = ctl({"-d", QString::fromStdString(simulator.devicePath()), "--json",
                                "power-state", "lamp-time"});
        EXPECT_EQ(run.status, c.status) << run.errors;
        const auto printed = lines(run.out);
        ASSERT_EQ(printed.size(), 2u) << run.out;
        for (std::size_t i = 0; i < printed.size(); ++i) {
            const QJsonObject object = json(printed[i]);
            EXPECT_EQ(object["answered"].toBool(), c.answered[i]) << printed[i];
            // A late power-state reply is never lamp-time's.
            EXPECT_FALSE(object["decoded"].toString().contains("8 0")) << printed[i];
            // No words where the window shows none; hours never passed off
            // from a reply that holds none.
            if (!object["answered"].toBool()) {
                EXPECT_TRUE(i == 0 ? object["decoded"].isNull() : !object["hours"].isDouble())
                    << printed[i];
            }
        }
        if (!c.said.empty()) {
            EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
        }
    }
}

TEST(Ctl, TheSimulatorOnAPseudoTerminalAndOnTcpAnswersStatus) {
    for (const QStringList& where : {QStringList{}, QStringList{"--listen", "tcp://127.0.0.1:0"},
                                     QStringList{"--listen", "rfc2217://127.0.0.1:0"}}) {
        SCOPED_TRACE(where.join(' ').toStdString());
        SimulatorProcess simulator(where);
        const CtlRun run = ctl({"-d", QString::fromStdString(simulator.devicePath()), "status"});
        ASSERT_EQ(run.status, 0) << run.errors;
        const auto printed = lines(run.out);
        ASSERT_EQ(printed.size(), 6u) << run.out;
        EXPECT_EQ(printed[0], "power-state: Stand by");
        EXPECT_EQ(printed[3], "input-mode: Computer 1");
    }
    SimulatorProcess simulator;
    const CtlRun twice =
        ctl({"-d", QString::fromStdString(simulator.devicePath()), "--json", "status", "status"});
    const auto objects = lines(twice.out);
    ASSERT_EQ(objects.size(), 2u) << twice.out;  // one object for each status, never merged
    for (const std::string& object : objects) EXPECT_EQ(json(object)["state"], "standby");
}

// A signal ends kr60p-ctl at once, whatever it waits for, with status 130.
TEST(Ctl, ASignalEndsItWithStatus130) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        PtyPeer silent;
        QProcess program;
        program.start(KR60P_CTL, {"-d", QString::fromStdString(silent.devicePath()), "-t", "60000",
                                  "power-on"});
        std::string heard;
        ASSERT_TRUE(waitUntilReceived(silent, heard, "C00\r"));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(5'000));
        EXPECT_EQ(program.exitCode(), 130) << signal;
        EXPECT_TRUE(program.readAllStandardError().contains("C00 was sent")) << signal;
    }
}

// Whatever is wrong is said once on standard error with its own status, and
// a command line that is wrong sends nothing.
TEST(Ctl, ExitStatuses) {
    PtyPeer silent;
    const QString device = QString::fromStdString(silent.devicePath());
    struct Case {
        QStringList arguments;
        QByteArray input;
        int status;
        std::string said;
    };
    for (const Case& c : std::vector<Case>{
             {{"-d", device, "power-on", "volum-up"}, {}, 2, "unknown command \"volum-up\""},
             {{"-d", device, "-s", "4800", "power-on"}, {}, 2, "-s is 19200 or 9600"},
             {{"-d", device, "-"}, {}, 2, "no command on standard input"},
             {{"-d", device, "-"}, "power-on\n" + QByteArray(100'000, 'x') + "\n", 2, "line 2"},
             {{"-d", device, "-"}, QByteArray("\x01\xfe\xff\n", 4), 2, "\\x01\\xFE\\xFF"},
             {{"-d", "tcp://projector", "power-on"}, {}, 2, "it has no port"},
             {{"-d", "/dev/no-such-projector", "power-on"},
              {},
              3,
              "There is no serial device /dev/no-such-projector."},
             {{"-d", "tcp://127.0.0.1:1", "-s", "9600", "power-on"},
              {},
              3,
              "-s has no effect on tcp://127.0.0.1:1"},
             {{"-d", device, "-t", "200", "power-on"},
              {},
              1,
              "no reply to C00 from " + silent.devicePath() + " within 200 ms"},
         }) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CtlRun run = ctl(c.arguments, {}, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.errors.find(c.said), std::string::npos) << run.errors;
        // One message; a usage error adds the usage.
        const bool notice = run.errors.find("has no effect") != std::string::npos;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'),
                  run.errors.find("\nUsage:") == std::string::npos && !notice ? 1 : 2)
            << run.errors;
        EXPECT_EQ(run.errors.find("(COM1)"), std::string::npos) << run.errors;
        EXPECT_EQ(run.out, "");
        if (c.status == 2) {
            EXPECT_EQ(silent.readAvailable(), "");
        }
        silent.readAvailable();
    }
}

// Replies in the positions the decoder reads, written other ways than the
// simulator writes them: each number read where the window shows it, null
// where a field is no number; the plain words say the numbers first.
TEST(Ctl, ReadingsFitThePositionsNotOneSimulator) {
    PtyPeer projector;
    std::string heard;
    const std::map<std::string, std::string> replies{
        {"CR6\r", "+25.0 +30.0 +35.0\r"}, {"CR3\r", " 01240\r"}, {"CR0\r", "8"}};
    const auto serve = [&] {
        heard += projector.readAvailable();
        for (const auto& [line, reply] : replies) {
            if (const auto at = heard.find(line); at != std::string::npos) {
                heard.erase(at, line.size());
                projector.write(reply);  // the power state never ends its line
            }
        }
    };
    const QString device = QString::fromStdString(projector.devicePath());
    const CtlRun run = ctl({"-d", device, "--json", "temperatures", "lamp-time"}, serve);
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto printed = lines(run.out);
    ASSERT_EQ(printed.size(), 2u) << run.out;
    EXPECT_EQ(json(printed[0])["temperatures"].toArray(), (QJsonArray{25.0, 30.0, 35.0}));
    EXPECT_EQ(json(printed[0])["decoded"], "S1= + 2 5 . 0 C  ,   S2=  3 0 . 0 C , S3= + 3 5 . 0 C");
    EXPECT_EQ(json(printed[1])["hours"], 1240);

    const CtlRun plain = ctl({"-d", device, "lamp-time", "temperatures"}, serve);
    ASSERT_EQ(plain.status, 0) << plain.errors;
    EXPECT_EQ(lines(plain.out), (std::vector<std::string>{
                                    "1240 hours (0 1 2 4 0 CR  Hour Use)",
                                    "S1 25 C, S2 30 C, S3 35 C (S1= + 2 5 . 0 C  ,   S2=  3 0 . 0 "
                                    "C , S3= + 3 5 . 0 C)"}));

    // An earlier command unanswered fails the run, whatever follows it.
    const CtlRun failed = ctl({"-d", device, "-t", "300", "power-state", "lamp-time"}, serve);
    EXPECT_EQ(failed.status, 1) << failed.errors;
}
