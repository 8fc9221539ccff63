#pragma once
// The serial component the link drives: port number, settings text, open
// state, output, input, the kind of the last event and its notification. A
// device may be a serial line or a device server on the network; the link
// does not know which.

#include <functional>
#include <string>

#include "toolkit/Fault.h"

namespace toolkit {

// Kinds of serial event. Receive: characters are waiting. Lost: the device
// failed or hung up while open, and the port has closed itself. Opened /
// OpenFailed: an open that took time (a network connection) is done.
// Notice: the port works, but not quite as chosen. fault() tells what went
// wrong with the last of these. The first two keep the numbers the serial
// component of old gave them.
enum class CommEvent : int {
    None = 0,
    Receive = 2,
    Lost = 1008,
    Opened = 1100,
    OpenFailed = 1101,
    Notice = 1102,
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    virtual void setCommPort(int number) = 0;
    virtual int commPort() const = 0;
    // The device a port number stands for; applies from the next open.
    virtual void setDevice(int number, const std::string& path) = 0;
    // The device in use while the port is open or opening, else the one the
    // current number stands for.
    virtual std::string device() const = 0;
    // Applied at once, open or closed; unreadable text throws and changes
    // nothing.
    virtual void setSettings(const std::string& text) = 0;
    virtual std::string settings() const = 0;
    // Opening either succeeds or throws at once, or, for a device that takes
    // time to reach, leaves the port opening() until CommEvent::Opened or
    // CommEvent::OpenFailed. Closing an opening port gives up the attempt.
    virtual void setPortOpen(bool open) = 0;
    virtual bool portOpen() const = 0;
    virtual bool opening() const = 0;
    // Whether the device the current number stands for may be there to open.
    virtual bool devicePresent() const = 0;
    // One byte per character.
    virtual void output(const std::string& bytes) = 0;
    // All characters received and not yet read, removed from the port.
    virtual std::string input() = 0;
    virtual CommEvent commEvent() const = 0;
    virtual Fault fault() const = 0;
    virtual void onComm(std::function<void()> handler) = 0;
};

}  // namespace toolkit
