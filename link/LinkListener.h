#pragma once
// What the link tells those who show or keep its traffic: the window's trace
// labels and warning boxes, the traffic log. Every member does nothing unless
// overridden, so a listener takes up only the events it needs and a new event
// costs the existing listeners nothing.

#include <string>

namespace projector {

// Something that happened to the serial port itself.
struct PortEvent {
    enum class Kind {
        Opened,        // the link opened the port
        Closed,        // the link closed the port
        Switched,      // a port switch succeeded
        SwitchFailed,  // a port switch failed; the port is closed
        SpeedChosen,   // new settings text applied
        SpeedFailed,   // the settings text could not be applied
        Lost,          // the device failed or hung up while open; the port is closed
        Reconnected,   // a lost device came back and the port is open again
    };
    Kind kind;
    int number;               // the port number concerned
    std::string device;       // the device that number stands for
    std::string settings;     // the settings text in force
    std::string description;  // for failures and a loss: what went wrong, in words
};

class LinkListener {
  public:
    virtual ~LinkListener() = default;

    // A command line went out; trace is its rendering.
    virtual void lineSent(const std::string& /*line*/, const std::string& /*trace*/) {}
    // A command line could not be handed to the port; nothing went out.
    virtual void sendFailed(const std::string& /*line*/, const std::string& /*description*/) {}
    // Characters arrived. bufferTrace renders everything received since the
    // buffer was last cleared, chunk included.
    virtual void received(const std::string& /*chunk*/, const std::string& /*bufferTrace*/) {}
    // The received trace answers the last query with this text.
    virtual void statusDecoded(const std::string& /*text*/) {}
    // The reply time-out passed with nothing received since the last transmit.
    virtual void noReply() {}
    // The trace-clear delay passed.
    virtual void traceCleared() {}
    virtual void portEvent(const PortEvent& /*event*/) {}
};

}  // namespace projector
