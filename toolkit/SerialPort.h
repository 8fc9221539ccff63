#pragma once
// The serial component the link drives: port number, settings text, open
// state, output, input, the kind of the last event and its notification.

#include <functional>
#include <stdexcept>
#include <string>

namespace toolkit {

// Every failing serial operation throws this, carrying a description a
// person can read.
class SerialError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Kinds of serial event. CommEventReceive: characters are waiting. CommEventLost: the
// device failed or hung up while open, and the port has closed itself.
enum CommEvent : int { CommEventNone = 0, CommEventReceive = 2, CommEventLost = 1008 };

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    virtual void setCommPort(int number) = 0;
    virtual int commPort() const = 0;
    // The device a port number stands for; applies from the next open.
    virtual void setDevice(int number, const std::string& path) = 0;
    // The device the current port number stands for, for people to read.
    virtual std::string device() const = 0;
    // Applied at once, open or closed; unreadable text throws and changes
    // nothing.
    virtual void setSettings(const std::string& text) = 0;
    virtual std::string settings() const = 0;
    virtual void setPortOpen(bool open) = 0;
    // Whether the device the current number stands for is there to open.
    virtual bool devicePresent() const = 0;
    virtual bool portOpen() const = 0;
    // One byte per character.
    virtual void output(const std::string& bytes) = 0;
    // All characters received and not yet read, removed from the port.
    virtual std::string input() = 0;
    virtual int commEvent() const = 0;
    virtual void onComm(std::function<void()> handler) = 0;
};

}  // namespace toolkit
