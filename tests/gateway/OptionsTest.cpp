// The gateway's settings from its command line and its configuration file:
// each refusal in words that name where the value stood, who may connect
// where, and the command line over the file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/gateway/GatewayOptions.h"

namespace {

class Options : public ::testing::Test {
  protected:
    std::string file(const std::string& name, const std::string& text, mode_t mode = 0600) {
        std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path) << text;
        ::chmod(path.c_str(), mode);
        return path;
    }
    static toolkit::Result<gateway::Options, gateway::Exit> read(std::vector<std::string> args) {
        args.insert(args.begin(), "kr60p-gateway");
        return gateway::readOptions(args, "host-name");
    }
    QTemporaryDir folder;
};

std::string shown(const std::vector<gateway::Endpoint>& endpoints) {
    std::string text;
    for (const auto& endpoint : endpoints) text += (text.empty() ? "" : " ") + endpoint.shown();
    return text;
}

}  // namespace

TEST_F(Options, EachWrongSettingIsRefusedInWordsThatSayWhere) {
    const std::string conf = file("room.conf", "device=/dev/ttyUSB0\nspeed=4800\n");
    const std::string unknown = file("unknown.conf", "# a room\n\ndevice=/dev/ttyUSB0\nport=1\n");
    const std::string empty = file("empty.password", "\n");
    const std::string longest = file("long.password", std::string(33, 'x') + "\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string said;
    };
    for (const Case& c : std::vector<Case>{
             {{}, "--device is needed"},
             {{"--device", "tcp://host"}, "--device: "},
             {{"-d", "/dev/ttyUSB0", "--speed", "4800"}, "--speed: 19200 or 9600, not \"4800\""},
             {{"--config", conf}, conf + ", line 2: 19200 or 9600, not \"4800\""},
             {{"--config", unknown}, unknown + ", line 4: \"port=1\" is not one of the settings"},
             {{"--config", "/nonexistent.conf"},
              "--config: cannot read /nonexistent.conf: No such file or directory"},
             {{"-d", "/dev/ttyUSB0", "--listen", "4352"}, "--listen: HOST:PORT or [IPv6]:PORT"},
             {{"-d", "/dev/ttyUSB0", "--share", "rfc2217://h:1"}, "--share: tcp://HOST:PORT"},
             {{"-d", "/dev/ttyUSB0", "--name", std::string(65, 'n')}, "--name: at most 64 bytes"},
             {{"-d", "/dev/ttyUSB0", "--notify", "a:b:c"}, "--notify: HOST or HOST:PORT"},
             {{"-d", "/dev/ttyUSB0", "--password-file", empty}, "the first line of " + empty},
             {{"-d", "/dev/ttyUSB0", "--password-file", longest}, "at most 32 characters"},
             {{"-d", "/dev/ttyUSB0", "--password-file", longest, "--no-password"},
              "say opposite things"},
             {{"-d", "/dev/ttyUSB0", "--listen", "10.0.4.31:4352"},
              "--listen 10.0.4.31:4352 would let anyone on the network work the projector"},
             {{"-d", "/dev/ttyUSB0", "extra"}, "\"extra\" is not an option"},
         }) {
        const auto options = read(c.arguments);
        ASSERT_FALSE(options) << c.said;
        EXPECT_EQ(options.error().status, 2);
        EXPECT_NE(options.error().text.find(c.said), std::string::npos) << options.error().text;
    }
}

TEST_F(Options, WhoMayConnectWhereFollowsThePassword) {
    const std::string password = file("hall-3.password", std::string(32, 'p') + "\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string listen;
        bool loopbackOnly;
    };
    for (const Case& c : std::vector<Case>{
             {{}, "127.0.0.1:4352 [::1]:4352", true},
             {{"--listen", "127.0.0.1:5000"}, "127.0.0.1:5000", true},
             {{"--listen", "localhost:5000"}, "localhost:5000", true},
             {{"--no-password"}, "*:4352", false},
             {{"--no-password", "--listen", "10.0.4.31:4352"}, "10.0.4.31:4352", false},
             {{"--password-file", password}, "*:4352", false},
             {{"--password-file", password, "--listen", "10.0.4.31:4352"}, "10.0.4.31:4352", false},
         }) {
        std::vector<std::string> arguments{"-d", "/dev/ttyUSB0"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto options = read(arguments);
        ASSERT_TRUE(options) << options.error().text;
        EXPECT_EQ(shown(options->listen), c.listen);
        EXPECT_EQ(options->loopbackOnly, c.loopbackOnly);
        EXPECT_EQ(options->password.has_value(),
                  c.arguments.size() > 1 && c.arguments[0] == "--password-file");
    }
}

TEST_F(Options, TheCommandLineWinsOverTheFileAndTheRoomHasItsOwnPassword) {
    file("room-101.password", "room-101-secret\n", 0644);
    const std::string conf = file("room-101.conf",
                                  "device=/dev/ttyUSB0\n"
                                  "name=Room 101   # the small one\n"
                                  "speed=9600\n"
                                  "notify=10.0.4.2, 10.0.4.3:5000\n");
    const auto fromFile = read({"--config", conf});
    ASSERT_TRUE(fromFile) << fromFile.error().text;
    EXPECT_EQ(fromFile->name, "Room 101");
    EXPECT_EQ(fromFile->settings, "9600,N,8,1");
    EXPECT_EQ(fromFile->password, "room-101-secret");
    ASSERT_EQ(fromFile->notify.size(), 2u);
    EXPECT_EQ(fromFile->notify[0].shown(), "10.0.4.2:4352");
    EXPECT_EQ(fromFile->notify[1].shown(), "10.0.4.3:5000");
    ASSERT_EQ(fromFile->warnings.size(), 1u);  // the password file others can read
    EXPECT_NE(fromFile->warnings[0].find("can be read by every user"), std::string::npos);

    const auto overridden = read({"--config", conf, "--name", "Hall 3", "--speed", "19200"});
    ASSERT_TRUE(overridden);
    EXPECT_EQ(overridden->name, "Hall 3");
    EXPECT_EQ(overridden->settings, "19200,N,8,1");

    const std::string other = file("hall-3.conf", "device=/dev/ttyUSB1\n");
    const auto ownless = read({"--config", other});  // no hall-3.password beside it
    ASSERT_TRUE(ownless);
    EXPECT_FALSE(ownless->password);
    EXPECT_TRUE(ownless->loopbackOnly);
    EXPECT_EQ(ownless->name, "host-name");
}
