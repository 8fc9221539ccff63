#pragma once
// One device the serial port has opened: a serial line, or a device server
// on the network. The port makes one for each open and drops it on close.

#include <functional>
#include <string>

#include "toolkit/Fault.h"
#include "toolkit/SerialSettings.h"

namespace toolkit::qt {

class Line {
  public:
    // What a line reports, from its own signals. The port hands every report
    // but received() on to the link from a later turn of the event loop, so
    // that the link may drop the line in answer.
    struct Events {
        std::function<void()> received;         // data waiting
        std::function<void()> opened;           // an open that took time succeeded
        std::function<void(Fault)> openFailed;  // an open that took time failed
        std::function<void(Fault)> lost;        // it failed or hung up while open
        std::function<void(Fault)> notice;      // it works, but not quite as chosen
    };

    virtual ~Line() = default;
    // Opens with these settings: true when open now, false when the events
    // will say. Throws SerialError when it cannot be opened at all.
    virtual bool open(const SerialSettings& settings, const std::string& text) = 0;
    // Throws SerialError when the settings cannot be used; they are then
    // left as they were.
    virtual void apply(const SerialSettings& settings, const std::string& text) = 0;
    // Throws SerialError when the bytes cannot be sent.
    virtual void write(const std::string& bytes) = 0;
    virtual std::string readAll() = 0;
};

}  // namespace toolkit::qt
