#pragma once
// The COM port control option of telnet (RFC 2217): a client that sets the
// speed and format of a device server's serial line, and the server side
// that a simulated projector answers with. The client never asks for the
// modem lines (DTR, RTS): some servers never answer that.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/telnet/Telnet.h"

namespace telnet {

// Client to server; the server's answers add kAnswer.
enum ComPortCommand : unsigned char {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    NotifyLineState = 6,
    NotifyModemState = 7,
    SetLineStateMask = 10,
    SetModemStateMask = 11,
    PurgeData = 12,
};
inline constexpr unsigned char kAnswer = 100;

// A serial line's settings as the option carries them.
struct LineSettings {
    enum Parity : unsigned char { None = 1, Odd = 2, Even = 3, Mark = 4, Space = 5 };
    enum StopBits : unsigned char { One = 1, Two = 2, OneAndHalf = 3 };
    std::uint32_t baud = 9600;
    unsigned char dataSize = 8;
    unsigned char parity = None;
    unsigned char stopSize = One;
    bool operator==(const LineSettings&) const = default;
};

class ComPortClient {
  public:
    ComPortClient();

    // The offers to send when the connection is made.
    std::string start();
    // Asks the server for these settings: what to send now (nothing while
    // the server has not yet agreed to the option; they go out when it does).
    std::string request(const LineSettings& settings);

    enum class Control { Pending, Agreed, Refused };
    struct Received {
        std::string data;
        std::string reply;
        // The server refused the option just now: it keeps its own settings.
        bool refused = false;
        // The server answered a request with other settings than asked: the
        // settings in force, as far as it has told them.
        std::optional<LineSettings> differs;
    };
    Received receive(std::string_view bytes);
    std::string encode(std::string_view data) const { return negotiation_.encode(data); }

    Control control() const { return control_; }
    const LineSettings& inForce() const { return inForce_; }
    // Whether the server has sent any telnet command at all: a raw TCP
    // server never does.
    bool heardTelnet() const { return heardTelnet_; }

  private:
    std::string requests() const;
    void answered(const Subnegotiation& answer, Received& out);

    Negotiation negotiation_;
    Control control_ = Control::Pending;
    std::optional<LineSettings> wanted_;
    LineSettings inForce_;
    bool differenceTold_ = false;
    bool heardTelnet_ = false;
};

class ComPortServer {
  public:
    explicit ComPortServer(LineSettings line);

    std::string start();
    struct Received {
        std::string data;
        std::string reply;
        bool lineChanged = false;
    };
    Received receive(std::string_view bytes);
    std::string encode(std::string_view data) const { return negotiation_.encode(data); }
    const LineSettings& line() const { return line_; }

  private:
    std::string answer(const Subnegotiation& request, bool& changed);

    Negotiation negotiation_;
    LineSettings line_;
};

}  // namespace telnet
