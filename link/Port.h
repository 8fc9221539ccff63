#pragma once
// The projector's port: the serial component MSComm1, its life as one state
// machine (closed, opening, open, lost, ended), bytes out and bytes in, and
// the port's events. It knows nothing of replies: the exchange that reads
// its bytes (the window's, or the programs' queue) does.

#include <optional>
#include <string>
#include <string_view>

#include "link/LinkListener.h"
#include "link/Listeners.h"
#include "toolkit/Controls.h"
#include "toolkit/SerialPort.h"

// The folder is link/; the namespace is projector, since POSIX already has a
// function called link.
namespace projector {

inline constexpr std::string_view kSettings19200 = "19200,N,8,1";
inline constexpr std::string_view kSettings9600 = "9600,N,8,1";
// The port's life. Closed: by a failed switch, or not yet opened; never
// reopened behind the operator's back. Opening: an open that takes time (a
// network connection) is under way. Lost: the device went and is looked for
// once a second; an open to bring it back is Opening. Ended: the program
// ends, and nothing of the port runs.
enum class PortState { Closed, Opening, Open, Lost, Ended };

// How often a lost device is looked for.
inline constexpr int kReconnectCheckMs = 1000;

// What reads the port: told every chunk of received bytes, and every port
// event after the listeners.
class PortReader {
  public:
    virtual ~PortReader() = default;
    virtual void bytesIn(const std::string& chunk) = 0;
    virtual void portEvent(const PortEvent& /*event*/) {}
};

class Port {
  public:
    // reconnect paces the checks for a lost device (kReconnectCheckMs).
    Port(toolkit::SerialPort& MSComm1, toolkit::Timer& reconnect);
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // Listeners hear every event, in the order they were added; the reader
    // hears port events after them.
    void addListener(LinkListener& listener) { listeners_.add(listener); }
    Listeners& listeners() { return listeners_; }
    void setReader(PortReader& reader) { reader_ = &reader; }

    // The window's start: port 1 opened, then reopened through its choice
    // of COM1, which ends the start. False when it failed at once.
    bool openPortAtStart();
    // What a program's start does when port 1 cannot be opened: end the
    // start (a script gives up), or go on looking for the device as for a
    // lost one (a service waits for it).
    enum class WhenAbsent { GiveUp, KeepLooking };
    // A program's start: port 1 opened once, ending with Started or
    // StartFailed, at once or (a device on the network) once the attempt is
    // over.
    void start(WhenAbsent whenAbsent = WhenAbsent::GiveUp);
    // Until the start-up has ended one way or the other.
    bool starting() const { return starting_; }
    PortState state() const { return state_; }

    // Close, renumber, reopen. A failure is reported, and the port is then
    // left closed on the other number; while a lost device is looked for,
    // the looking goes on for the chosen number instead. During the
    // start-up, a failure ends the start.
    void switchPort(int number);
    // After a device chosen from the window failed: the number as it was,
    // and the port open again if it was, or a lost device still looked for.
    void restorePort(int number, bool open);
    // The device a port number stands for, from its next open on.
    void setDevice(int number, const std::string& path);
    int portNumber() const { return MSComm1.commPort(); }
    std::string device() const { return MSComm1.device(); }
    // Open, or being opened.
    bool portOpen() const { return MSComm1.portOpen() || MSComm1.opening(); }
    // PortSettings: "19200,N,8,1" from the start, or as last chosen; applied
    // at once, open or closed.
    void chooseSpeed(std::string_view settings);
    const std::string& settings() const { return PortSettings; }
    // Closes the port and tells why the program ends; nothing of the port
    // runs afterwards.
    void shutDown(const std::string& reason);

    // Bytes out: the line handed to the device, and told as sent. Why not,
    // when the port could not take it; the listeners have been told.
    std::optional<toolkit::Fault> write(const std::string& line);
    // While a lost device is looked for.
    bool lookingForDevice() const;

  private:
    void onComm();
    // Why an open is under way. FirstOpen: the window's start, which its
    // choice of COM1 then ends; Start: a program's, ended by the open.
    enum class Purpose { FirstOpen, Start, Switch, Reconnect, Restore };
    bool openFirst(Purpose purpose, PortState otherwise = PortState::Closed);
    // An open has begun: it is done at once (or failed at once), or when the
    // port says how it went. Either way the same steps finish it. A failure
    // leaves the port in `otherwise`: Closed, or Lost (looked for again).
    void openBegun(Purpose purpose, PortState otherwise,
                   const std::optional<toolkit::Fault>& failure);
    void opened();
    void openFailed(const toolkit::Fault& fault);
    void startEnded(const std::optional<toolkit::Fault>& failure);
    // The open device failed or hung up, and the port has closed itself.
    void deviceLost(const toolkit::Fault& fault);
    // While lost, once a check: the same device, if it is back, opens again.
    void reconnectCheck();
    // Every change of state goes through here; the checks for a lost device
    // run exactly while one is looked for.
    void enter(PortState state);
    // Closes an open port (telling Closed) or gives up an open under way.
    void closePort();

    PortEvent portEvent(PortEvent::Kind kind, toolkit::Fault fault = {}) const;
    void tell(const PortEvent& event);

    toolkit::SerialPort& MSComm1;
    toolkit::Timer& reconnect_;
    Listeners listeners_;
    PortReader* reader_ = nullptr;
    PortState state_ = PortState::Closed;
    Purpose purpose_ = Purpose::FirstOpen;     // while Opening
    PortState otherwise_ = PortState::Closed;  // while Opening: where a failure leaves it
    bool starting_ = false;
    int switchTo_ = 0;        // a pending switch's number
    int switchFallback_ = 0;  // and the other one
    std::string PortSettings{kSettings19200};
};

}  // namespace projector
