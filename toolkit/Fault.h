#pragma once
// What went wrong with a device, as the transports tell it: a kind, the
// device, and the system's or the server's own words. The sentences a person
// reads are made from it in one place, in the panel.

#include <stdexcept>
#include <string>

namespace toolkit {

// What is at a path that is not a serial device.
enum class FileKind : unsigned char {
    Unknown,
    Folder,
    RegularFile,
    OtherDevice,  // a character device that is not a terminal
    BlockDevice,
    Pipe,
    Socket,
};

// Why a device server's address cannot be right.
enum class AddressProblem : unsigned char {
    None,
    NoScheme,          // no "://"
    UnknownScheme,     // part: the scheme
    NoClosingBracket,  // an IPv6 address without its ]
    BadIpv6,           // nothing like an IPv6 address between [ and ]
    NoHost,
    BadHost,  // neither a name nor an address
    NoPort,
    PortNotNumber,   // part: the port as written
    PortOutOfRange,  // part: the port as written
};

struct Fault {
    enum class Kind {
        NoSuchDevice,  // nothing at the path
        NotSerial,     // something is there, but not a terminal (file: what it is)
        Permission,    // the system refused access (detail: its words)
        InUse,         // another program holds it (holder: which, where known)
        CannotOpen,    // any other reason the system gave (detail: its words)
        BadSettings,   // the settings text cannot be read, or the device refused it
        Closed,        // nothing was sent: the port is closed
        Connecting,    // nothing was sent: the connection is still being made
        Lost,          // the device failed or hung up while open (detail where known)
        SendFailed,    // the device did not take a line (detail)
        BadAddress,    // a network address that cannot be right (address: why, detail: the part)
        Refused,       // nothing accepts connections at the address
        NoSuchHost,    // the host name is not known
        TimedOut,      // no connection within the time allowed
        Unreachable,   // the network does not lead there (detail)
        Busy,          // the device server closed at once, saying it is in use (detail: its words)
        ClosedAtOnce,  // the device server closed at once for another reason (detail: its words)
        // Notices: the link works, but not quite as chosen.
        NoRemoteSettings,  // the device server does not let the panel set the line
        SettingsDiffer,    // the device server runs the line otherwise (detail: how)
        // A fault of the program's own, not of the device.
        AlreadyOpen,  // an open asked of a port that is open
        NotRfc2217,   // no telnet answer: a raw TCP server given as rfc2217://
    };
    Kind kind = Kind::CannotOpen;
    std::string device;    // the path or address concerned
    int number = 0;        // the port number that stands for it; 0 where none does
    std::string detail;    // the system's or the server's own words
    std::string holder;    // InUse: the program that holds the device, where known
    std::string settings;  // BadSettings: the settings text
    // Permission: the device belongs to the dialout group and the user is
    // not in it, so joining the group would help.
    bool dialoutHelps = false;
    FileKind file = FileKind::Unknown;              // NotSerial
    AddressProblem address = AddressProblem::None;  // BadAddress
    bool closedByServer = false;                    // Lost: the device server hung up
};

Fault faultOf(Fault::Kind kind, std::string device, std::string detail = {});

// Every failing serial operation throws this.
class SerialError : public std::runtime_error {
  public:
    explicit SerialError(Fault fault);
    const Fault& fault() const { return fault_; }

  private:
    Fault fault_;
};

}  // namespace toolkit
