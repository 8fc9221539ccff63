// The sentences about devices: each kind of fault in words a person reads,
// the port named only where a number stands for the device, and advice only
// where it can help.

#include <gtest/gtest.h>

#include "vocabulary/Sentences.h"

namespace {

using Kind = toolkit::Fault::Kind;

toolkit::Fault fault(Kind kind, std::string device, int number = 1, std::string detail = {}) {
    toolkit::Fault made = toolkit::faultOf(kind, std::move(device), std::move(detail));
    made.number = number;
    return made;
}

}  // namespace

TEST(Sentences, EachKindOfFaultIsSaidInItsOwnWords) {
    struct Case {
        toolkit::Fault fault;
        std::string said;
    };
    toolkit::Fault folder = fault(Kind::NotSerial, "/tmp");
    folder.file = toolkit::FileKind::Folder;
    toolkit::Fault pipe = fault(Kind::NotSerial, "/tmp/p", 0);
    pipe.file = toolkit::FileKind::Pipe;
    toolkit::Fault held = fault(Kind::InUse, "/dev/ttyUSB0");
    held.holder = "minicom";
    toolkit::Fault hungUp = fault(Kind::Lost, "tcp://h:1");
    hungUp.closedByServer = true;
    toolkit::Fault differs = fault(Kind::SettingsDiffer, "rfc2217://h:1", 1, "9600,N,8,1");
    differs.settings = "19200,N,8,1";
    for (const Case& c : std::vector<Case>{
             {fault(Kind::NoSuchDevice, "/dev/ttyUSB7"),
              "There is no serial device /dev/ttyUSB7 (COM1)."},
             {fault(Kind::NoSuchDevice, "/dev/ttyUSB7", 0),
              "There is no serial device /dev/ttyUSB7."},
             {folder, "/tmp (COM1) is a folder, not a serial device."},
             {pipe, "/tmp/p is not a serial device: it is a named pipe."},
             {held, "/dev/ttyUSB0 (COM1) is in use by another program (minicom). Close that"},
             {fault(Kind::Refused, "tcp://h:4001", 2),
              "The device server tcp://h:4001 (COM2) cannot be reached: the connection was refused "
              "(nothing accepts connections on port 4001 there)."},
             {fault(Kind::NoSuchHost, "tcp://nowhere:1"), "there is no host named nowhere."},
             {fault(Kind::Busy, "tcp://h:1", 1, "Port already in use"),
              "is busy: it closed the connection at once, saying \"Port already in use\". Another "
              "client"},
             {fault(Kind::ClosedAtOnce, "tcp://h:1", 1, "HTTP/1.1 400 Bad Request"),
              "closed the connection at once, saying \"HTTP/1.1 400 Bad Request\""},
             {fault(Kind::NotRfc2217, "rfc2217://[::1]:4001"), "use tcp://[::1]:4001."},
             {differs, "runs the serial line at 9600,N,8,1, not at 19200,N,8,1 as chosen."},
             {fault(Kind::Lost, "/dev/ttyUSB0"),
              "The serial device /dev/ttyUSB0 (COM1) was lost: it was unplugged"},
             {hungUp,
              "The connection to the device server tcp://h:1 (COM1) was lost (the server closed "
              "the connection)."},
             {fault(Kind::Closed, "/dev/ttyS0"),
              "Nothing was sent: the serial port COM1 (/dev/ttyS0) is closed."},
         }) {
        const std::string said = projector::faultText(c.fault);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

// The dialout group is named only where joining it would open the device.
TEST(Sentences, TheDialoutAdviceOnlyWhereItHelps) {
    toolkit::Fault denied = fault(Kind::Permission, "/dev/ttyUSB0", 1, "Permission denied");
    EXPECT_EQ(projector::faultText(denied).find("dialout"), std::string::npos);
    denied.dialoutHelps = true;
    EXPECT_NE(projector::faultText(denied).find("sudo adduser $USER dialout"), std::string::npos);
    for (const Kind kind : {Kind::NoSuchDevice, Kind::InUse, Kind::CannotOpen, Kind::Refused}) {
        toolkit::Fault other = fault(kind, "/dev/ttyUSB0");
        other.dialoutHelps = true;  // a device of the group, but the group is not the problem
        EXPECT_EQ(projector::faultText(other).find("dialout"), std::string::npos);
    }
}

TEST(Sentences, ALossWhileSendingSaysThePanelIsLookingForTheDevice) {
    const std::string said = projector::lossWarning(fault(Kind::Lost, "tcp://h:1"), true);
    EXPECT_EQ(said.rfind("Nothing was sent: the device server tcp://h:1 (COM1) is lost.", 0), 0u)
        << said;
    EXPECT_NE(said.find("The panel connects again by itself"), std::string::npos) << said;
    EXPECT_EQ(projector::shown(std::string(300, 'x')).size(), 72u + 1);  // "…" is 3 bytes: 70 + 3
}
