#pragma once
// The projector link: the serial port MSComm1, the exchange of command lines
// and replies, the reply time-out and the trace-clear countdowns, the port
// switch, the speed choice and shut-down. It touches no control of the
// window: it tells its listeners what happened.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinkListener.h"
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
// ends, and nothing of the link runs.
enum class PortState { Closed, Opening, Open, Lost, Ended };

// Received text beyond this is dropped until the buffer is cleared, so that a
// flood costs bounded time and memory.
inline constexpr std::size_t kRxBufferLimit = 32767;
// How often the link looks for a lost device to come back.
inline constexpr int kReconnectCheckMs = 1000;

class Link {
  public:
    // Timer2 is the reply time-out, Timer4 the trace-clear delay; reconnect
    // paces the checks for a lost device (kReconnectCheckMs).
    Link(toolkit::SerialPort& MSComm1, toolkit::Timer& Timer2, toolkit::Timer& Timer4,
         toolkit::Timer& reconnect);
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Listeners hear every event, in the order they were added.
    void addListener(LinkListener& listener);

    // Start-up: the variables first, then (once the window is placed) port 1.
    // The start ends with Started, or StartFailed when port 1 cannot be
    // opened, at once or (a device on the network) once the attempt is over.
    // False when it failed at once.
    void setStartValues();
    bool openPortAtStart();
    // What a program's start does when port 1 cannot be opened: end the
    // start (a script gives up), or go on looking for the device as for a
    // lost one (a service waits for it).
    enum class WhenAbsent { GiveUp, KeepLooking };
    // A program's start: port 1 opened once, ending with Started or
    // StartFailed (the window's start reopens it through the COM1 choice).
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
    // Open, or being opened.
    bool portOpen() const { return MSComm1.portOpen() || MSComm1.opening(); }
    void chooseSpeed(std::string_view settings);
    // Closes the port and tells why the program ends; nothing of the link
    // runs afterwards.
    void shutDown(const std::string& reason);

    // The reply time-out and trace-clear delay of the transmissions to come;
    // a running countdown restarts with its new interval.
    void setPacing(int replyTimeoutMs, int traceClearMs);
    // Sends CommandPrefix & code & CR. False when the port could not take the
    // line; the listeners have been told why.
    bool send(std::string_view code);
    // A held button was let go: the last repetition's reply time-out is
    // dropped, the trace-clear countdown runs on, and what has been received
    // so far is discarded.
    void dropPendingReply();

  private:
    enum HyoujiMode : int { Transmit = 1, Receive = 2 };

    // The one road of every exchange: Transmit writes SendLine to the port,
    // Receive shows RxBuffer (just grown by chunk) and decodes it.
    bool Hyouji(HyoujiMode mode, const std::string& chunk = {});
    void MSComm1_OnComm();
    void Timer2_Timer();
    void Timer4_Timer();
    // Why an open is under way. FirstOpen: the window's start, which its
    // choice of COM1 then ends; Start: a program's, ended by the open.
    enum class Purpose { FirstOpen, Start, Switch, Reconnect, Restore };
    bool openFirst(Purpose purpose, PortState otherwise = PortState::Closed);
    // An open has begun: it is done at once (or failed at once), or when the
    // port says how it went. Either way the same steps finish it. A failure
    // leaves the link in `otherwise`: Closed, or Lost (looked for again).
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
    bool lookingForDevice() const;
    // Closes an open port (telling Closed) or gives up an open under way.
    void closePort();

    PortEvent portEvent(PortEvent::Kind kind, toolkit::Fault fault = {}) const;
    void tell(const PortEvent& event);
    template <typename Call>
    void tellAll(Call call);

    toolkit::SerialPort& MSComm1;
    toolkit::Timer& Timer2;
    toolkit::Timer& Timer4;
    toolkit::Timer& reconnect_;
    std::vector<LinkListener*> listeners_;
    PortState state_ = PortState::Closed;
    Purpose purpose_ = Purpose::FirstOpen;     // while Opening
    PortState otherwise_ = PortState::Closed;  // while Opening: where a failure leaves it
    bool starting_ = false;
    int switchTo_ = 0;        // a pending switch's number
    int switchFallback_ = 0;  // and the other one

    std::string SendLine;
    std::string RxBuffer;
    bool ReplyPending = false;
    std::string CommandPrefix;
    std::string PortSettings;
    std::int16_t PressureValue = 0;
};

}  // namespace projector
