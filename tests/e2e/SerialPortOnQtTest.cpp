// The serial port on Qt against a real pseudo-terminal: which devices COM1
// and COM2 stand for by default, a line on the wire before the call
// returns, a loss told from the event loop, and a lock held by a process the
// user may not signal.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <fstream>

#include "qt/QtSerialDevices.h"
#include "qt/QtSerialPort.h"
#include "tests/support/PtyPeer.h"

TEST(SerialPortOnQt, TheDefaultsAreTheBuiltInPortsAndTheAdaptersByTheirStableNames) {
    EXPECT_EQ(toolkit::qt::builtInPort(1), "/dev/ttyS0");
    EXPECT_EQ(toolkit::qt::builtInPort(2), "/dev/ttyS1");
    // Plugged in the other way round: their stable names keep the order.
    const std::map<QString, QString> stable{{"/dev/ttyUSB0", "/dev/serial/by-id/usb-B"},
                                            {"/dev/ttyUSB1", "/dev/serial/by-id/usb-A"}};
    EXPECT_EQ(toolkit::qt::adapterOrder(stable, {"ttyUSB0", "ttyUSB1", "ttyACM0"}),
              (std::vector<std::string>{"/dev/serial/by-id/usb-A", "/dev/serial/by-id/usb-B",
                                        "/dev/ttyACM0"}));
}

TEST(SerialPortOnQt, ALineIsOnTheWireWhenTheCallReturns) {
    PtyPeer device;
    toolkit::qt::QtSerialPort port;
    port.setDevice(1, device.devicePath());
    port.setPortOpen(true);
    port.output("C00\r");
    // No event loop runs meanwhile.
    pollfd ready{device.masterFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 2000), 1);
    EXPECT_EQ(device.readAvailable(), "C00\r");
}

TEST(SerialPortOnQt, ALossIsToldFromTheEventLoopNotFromInsideTheLinesOwnCall) {
    PtyPeer device;
    toolkit::qt::QtSerialPort port;
    port.setDevice(1, device.devicePath());
    port.setPortOpen(true);
    bool inside = false;
    bool toldInside = false;
    bool toldLost = false;
    port.onComm([&] {
        toldInside = toldInside || inside;
        toldLost = toldLost || port.commEvent() == toolkit::CommEvent::Lost;
    });
    device.hangUp();
    inside = true;
    for (int i = 0; i < 5; ++i) {
        try {
            port.output("C00\r");
        } catch (const toolkit::SerialError&) {
        }
    }
    inside = false;
    EXPECT_TRUE(waitFor([&] { return toldLost; }));
    EXPECT_FALSE(toldInside);
}

// kill(PID, 0) answers EPERM for a process of another user: it is alive, and
// its lock holds. kr60p-ctl runs as a user who may not signal PID 1 (as
// nobody, where the tests run as root).
TEST(SerialPortOnQt, ALockOfAProcessTheUserMayNotSignalHolds) {
    PtyPeer device;
    ::chmod(device.nodePath().c_str(), 0666);
    const std::string folder = device.devicePath().substr(0, device.devicePath().rfind('/'));
    ::chmod(folder.c_str(), 0755);
    std::string name = device.nodePath().substr(5);  // "pts/3"
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string lock = "/run/lock/LCK.." + name;
    std::ofstream(lock) << "         1\n";
    QStringList command{KR60P_CTL, "-d", QString::fromStdString(device.nodePath()), "power-state"};
    if (::geteuid() == 0) {
        command = QStringList{"setpriv", "--reuid",        "nobody", "--regid",
                              "nogroup", "--clear-groups", "--"} +
                  command;
    }
    QProcess ctl;
    ctl.start(command.front(), command.mid(1));
    ASSERT_TRUE(ctl.waitForFinished(10'000));
    ::unlink(lock.c_str());
    EXPECT_EQ(ctl.exitCode(), 3);
    const std::string said = ctl.readAllStandardError().toStdString();
    EXPECT_NE(said.find("is in use by another program"), std::string::npos) << said;
    EXPECT_NE(said.find("process 1"), std::string::npos) << said;
}
