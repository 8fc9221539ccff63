#pragma once
// The projector link: the serial port MSComm1, the link's variables, and the
// handlers that are the link's own (start-up serial steps, port and speed
// choice, shut-down, transmit and receive, the display timers).

#include <cstdint>
#include <string>

#include "toolkit/Controls.h"
#include "toolkit/SerialPort.h"

// The folder is link/; the namespace is projector, since POSIX already has a
// function called link.
namespace projector {

inline constexpr const char* kSettings19200 = "19200,N,8,1";
inline constexpr const char* kSettings9600 = "9600,N,8,1";
inline constexpr const char* kNoReply = " X X X X";
// Longer received text is cut here, so that a flood costs bounded time.
inline constexpr std::size_t kRxBufferLimit = 32767;

enum HyoujiMode : int { Transmit = 1, Receive = 2 };

// The controls the link touches; it never sees the rest of the window.
struct LinkControls {
    toolkit::SerialPort& MSComm1;
    toolkit::Label& Label11;
    toolkit::Label& Label12;
    toolkit::Label& Label22;
    toolkit::Frame& Frame8;
    toolkit::Timer& Timer2;
    toolkit::Timer& Timer3;
    toolkit::Timer& Timer4;
    toolkit::MessageBox& messageBox;
};

class Link {
  public:
    explicit Link(const LinkControls& controls);

    // Start-up: the variables, then (after the window is placed) the port.
    void setStartValues();
    void openPortAtStart();  // throws toolkit::SerialError

    void switchPort(int number);
    void chooseSpeed(const std::string& settings);
    void shutDown();

    // Stores CommandPrefix & code & CR in SendLine and transmits it.
    void sendCode(const std::string& code);
    void Hyouji(const std::string& text, int mode);  // transmit throws toolkit::SerialError
    void MSComm1_OnComm();

    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    void clearRxBuffer() { RxBuffer.clear(); }

    const std::string& sendLine() const { return SendLine; }
    const std::string& rxBuffer() const { return RxBuffer; }
    int replyPending() const { return ReplyPending; }
    const std::string& commandPrefix() const { return CommandPrefix; }
    const std::string& portSettings() const { return PortSettings; }
    std::int16_t pressureValue() const { return PressureValue; }

  private:
    LinkControls c_;
    std::string SendLine;
    std::string RxBuffer;
    std::uint8_t ReplyPending = 0;
    std::string CommandPrefix;
    std::string PortSettings;
    std::int16_t PressureValue = 0;
};

}  // namespace projector
