#pragma once
// What the link tells those who show or keep its traffic: the window's trace
// labels and warning boxes, the traffic log. Every member does nothing unless
// overridden, so a listener takes up only the events it needs and a new event
// costs the existing listeners nothing.

#include <string>

#include "toolkit/Fault.h"

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
        Started,       // the start-up has opened port 1
        StartFailed,   // the start-up could not open port 1
        Notice,        // the port works, but not quite as chosen
        Ended,         // the program ends; reason says why
    };
    Kind kind;
    int number;            // the port number concerned
    std::string device;    // the device that number stands for
    std::string settings;  // the settings text in force
    toolkit::Fault fault;  // for failures, a loss and a notice: what went wrong
    std::string reason;    // for the end: why
    // A switch failed while a lost device was being looked for: the link
    // goes on looking, now for the chosen port, and opens it when it is back.
    bool reconnecting = false;
};

class LinkListener {
  public:
    virtual ~LinkListener() = default;

    // A command line went out; trace is its rendering.
    virtual void lineSent(const std::string& /*line*/, const std::string& /*trace*/) {}
    // A command line could not be handed to the port; nothing went out.
    virtual void sendFailed(const std::string& /*line*/, const toolkit::Fault& /*fault*/) {}
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
