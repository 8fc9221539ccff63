#include "vocabulary/Sentences.h"

#include "toolkit/DeviceAddress.h"

namespace projector {

namespace {

using Kind = toolkit::Fault::Kind;

constexpr std::size_t kShownLength = 72;
constexpr std::string_view kComesBack =
    " The panel connects again by itself as soon as it is back; to use another port, choose it "
    "under COM.";

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// " (COM1)" where a port number stands for the device.
std::string onPort(const toolkit::Fault& fault) {
    return fault.number > 0 ? " (" + portName(fault.number) + ")" : "";
}

bool networked(const toolkit::Fault& fault) {
    return toolkit::isNetworkDevice(fault.device);
}

// "the serial device /dev/ttyUSB0 (COM1)", "the device server tcp://... (COM1)"
std::string theDevice(const toolkit::Fault& fault) {
    return std::string(networked(fault) ? "the device server " : "the serial device ") +
           shown(fault.device) + onPort(fault);
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}

std::string unreachable(const toolkit::Fault& fault, const std::string& why) {
    return capitalised(theDevice(fault)) + " cannot be reached: " + why;
}

std::string hostOf(const toolkit::Fault& fault) {
    const auto reading = toolkit::readAddress(fault.device);
    return reading.address ? reading.address->host : fault.device;
}

// The same server as a raw TCP address.
std::string rawAddressOf(const toolkit::Fault& fault) {
    const auto reading = toolkit::readAddress(fault.device);
    if (!reading.address) return "tcp://HOST:PORT";
    const std::string& host = reading.address->host;
    return "tcp://" + (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" +
           std::to_string(reading.address->port);
}

std::string portOf(const toolkit::Fault& fault) {
    const auto reading = toolkit::readAddress(fault.device);
    return reading.address ? std::to_string(reading.address->port) : "";
}

std::string whatItIs(toolkit::FileKind file) {
    switch (file) {
        case toolkit::FileKind::Folder:
            return "a folder";
        case toolkit::FileKind::RegularFile:
            return "a regular file";
        case toolkit::FileKind::OtherDevice:
            return "a device of another kind";
        case toolkit::FileKind::BlockDevice:
            return "a block device";
        case toolkit::FileKind::Pipe:
            return "a named pipe";
        case toolkit::FileKind::Socket:
            return "a socket";
        case toolkit::FileKind::Unknown:
            break;
    }
    return "something else";
}

// Words that fit after "it".
std::string whatIsWrong(toolkit::AddressProblem problem, const std::string& part) {
    using Problem = toolkit::AddressProblem;
    switch (problem) {
        case Problem::NoScheme:
            return "has no scheme such as tcp://";
        case Problem::UnknownScheme:
            return "has an unknown scheme, " + part + "://";
        case Problem::NoClosingBracket:
            return "has an IPv6 address without its ]";
        case Problem::BadIpv6:
            return "has no valid IPv6 address between [ and ]";
        case Problem::NoHost:
            return "has no host";
        case Problem::BadHost:
            return "has a host that is neither a name nor an address (an IPv6 address goes in "
                   "brackets: [::1])";
        case Problem::NoPort:
            return "has no port";
        case Problem::PortNotNumber:
            return "has a port that is not a number, " + part;
        case Problem::PortOutOfRange:
            return "has port " + part + ", outside 1 to 65535";
        case Problem::None:
            break;
    }
    return "cannot be read";
}

}  // namespace

std::string portName(int number) {
    return "COM" + std::to_string(number);
}

std::string shown(std::string_view device) {
    if (device.size() <= kShownLength) return std::string(device);
    std::size_t head = kShownLength / 2 - 1;
    std::size_t tail = device.size() - (kShownLength / 2 - 1);
    while (head > 0 && continuation(device[head])) --head;
    while (tail < device.size() && continuation(device[tail])) ++tail;
    return std::string(device.substr(0, head)) + "…" + std::string(device.substr(tail));
}

std::string faultText(const toolkit::Fault& fault, Reader reader) {
    const std::string device = shown(fault.device);
    switch (fault.kind) {
        case Kind::NoSuchDevice:
            return "There is no serial device " + device + onPort(fault) + ".";
        case Kind::NotSerial:
            if (fault.file == toolkit::FileKind::Folder) {
                return device + onPort(fault) + " is a folder, not a serial device.";
            }
            return device + onPort(fault) + " is not a serial device" +
                   (fault.file == toolkit::FileKind::Unknown ? ""
                                                             : ": it is " + whatItIs(fault.file)) +
                   ".";
        case Kind::Permission: {
            std::string text = "The serial device " + device + onPort(fault) +
                               " cannot be opened: " + fault.detail + ".";
            if (fault.dialoutHelps && reader == Reader::Service) {
                text +=
                    " It belongs to the dialout group, and this service's user is not in it: its "
                    "unit gives it the group (SupplementaryGroups=dialout); run by hand, run it "
                    "as a user of that group.";
            } else if (fault.dialoutHelps) {
                text +=
                    " It belongs to the dialout group, and your user is not in it: sudo adduser "
                    "$USER dialout, then log out and in again for it to take effect.";
            }
            return text;
        }
        case Kind::InUse:
            return "The serial device " + device + onPort(fault) + " is in use by another program" +
                   (fault.holder.empty() ? "" : " (" + fault.holder + ")") +
                   (reader == Reader::Service ? "; it is looked for again each second."
                                              : ". Close that program and try again.");
        case Kind::CannotOpen:
            return capitalised(theDevice(fault)) + " cannot be opened: " + fault.detail + ".";
        case Kind::BadSettings:
            if (fault.detail.empty()) {
                return "The serial settings \"" + fault.settings +
                       "\" cannot be read. They must look like 19200,N,8,1: speed, parity (N, "
                       "E, O, M or S), data bits (5 to 8), stop bits (1, 1.5 or 2).";
            }
            return "The serial settings \"" + fault.settings + "\" cannot be used on " + device +
                   ": " + fault.detail + ".";
        case Kind::Closed:
        case Kind::Connecting:
        case Kind::SendFailed:
            return notSentText(fault);
        case Kind::Lost:
            if (networked(fault)) {
                const std::string why =
                    fault.closedByServer ? "the server closed the connection" : fault.detail;
                return "The connection to the device server " + device + onPort(fault) +
                       " was lost" + (why.empty() ? "" : " (" + why + ")") + ".";
            }
            return "The serial device " + device + onPort(fault) +
                   " was lost: it was unplugged, or its other end hung up.";
        case Kind::BadAddress:
            return "\"" + device + "\" is not a device server's address: it " +
                   whatIsWrong(fault.address, fault.detail) + ". " + std::string(kAddressForms);
        case Kind::AlreadyOpen:
            return capitalised(theDevice(fault)) + " is already open.";
        case Kind::Refused:
            return unreachable(fault,
                               "the connection was refused (nothing accepts connections on "
                               "port " +
                                   portOf(fault) + " there).");
        case Kind::NoSuchHost:
            return unreachable(fault, "there is no host named " + hostOf(fault) +
                                          (fault.detail.empty() ? "" : " (" + fault.detail + ")") +
                                          ".");
        case Kind::TimedOut:
            return unreachable(fault, "no connection within " + fault.detail +
                                          " (timed out). Check the address, and that the server "
                                          "is switched on and on the network.");
        case Kind::Unreachable:
            return unreachable(fault, "the network does not lead there (" + fault.detail + ").");
        case Kind::Busy:
            return capitalised(theDevice(fault)) + " is busy: it closed the connection at once" +
                   (fault.detail.empty() ? "" : ", saying \"" + fault.detail + "\"") +
                   ". Another client is probably connected to it.";
        case Kind::ClosedAtOnce:
            return capitalised(theDevice(fault)) + " closed the connection at once, " +
                   (fault.detail.empty() ? "without saying why"
                                         : "saying \"" + fault.detail + "\"") +
                   ". Is the address the device server's serial port?";
        case Kind::NotRfc2217:
            return capitalised(theDevice(fault)) +
                   " does not speak RFC 2217: it gave no telnet answer. The panel now sends the "
                   "bytes as they are; for a raw TCP server, use " +
                   rawAddressOf(fault) + ".";
        case Kind::NoRemoteSettings:
            return capitalised(theDevice(fault)) +
                   " does not let the panel set the serial line (it refused COM port control): "
                   "the line runs at the speed set on the server.";
        case Kind::SettingsDiffer:
            return capitalised(theDevice(fault)) + " runs the serial line at " + fault.detail +
                   ", not at " + fault.settings + " as chosen.";
    }
    return capitalised(theDevice(fault)) + " cannot be used.";
}

std::string notSentText(const toolkit::Fault& fault) {
    const std::string device = shown(fault.device);
    switch (fault.kind) {
        case Kind::Closed:
            return "Nothing was sent: the serial port " + portName(fault.number) + " (" + device +
                   ") is closed. Choose a port under COM.";
        case Kind::Connecting:
            return "Nothing was sent: the panel is still connecting to " + theDevice(fault) + ".";
        case Kind::Lost:
            return "Nothing was sent: " + theDevice(fault) + " is lost.";
        case Kind::SendFailed:
            return "Sending on " + device + onPort(fault) + " failed: " + fault.detail + ".";
        default:
            return "Nothing was sent. " + faultText(fault);
    }
}

std::string lossWarning(const toolkit::Fault& fault, bool sending) {
    return (sending ? notSentText(fault) : faultText(fault)) + std::string(kComesBack);
}

}  // namespace projector
