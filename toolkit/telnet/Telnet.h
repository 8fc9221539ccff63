#pragma once
// One end of a telnet connection, as a device server speaks it: the data
// bytes with every 0xFF doubled, option negotiation, and subnegotiations.
// Plain C++ on bytes; the parser keeps its state between calls, so a
// sequence may arrive split anywhere.

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace telnet {

inline constexpr unsigned char IAC = 255;
inline constexpr unsigned char DONT = 254;
inline constexpr unsigned char DO = 253;
inline constexpr unsigned char WONT = 252;
inline constexpr unsigned char WILL = 251;
inline constexpr unsigned char SB = 250;
inline constexpr unsigned char SE = 240;

inline constexpr unsigned char kBinary = 0;
inline constexpr unsigned char kSuppressGoAhead = 3;
inline constexpr unsigned char kComPort = 44;

// A subnegotiation longer than this is read to its end and dropped, so that
// one that never ends costs no memory.
inline constexpr std::size_t kSubnegotiationLimit = 64;

// Doubles every 0xFF, so that no data byte reads as a command.
std::string escape(std::string_view bytes);
// IAC SB option payload IAC SE, the payload escaped.
std::string subnegotiation(unsigned char option, std::string_view payload);

struct Subnegotiation {
    unsigned char option;
    std::string payload;  // unescaped
};

// An option that was agreed or refused, on this end (local: this end does
// it) or on the peer's.
struct Change {
    unsigned char option;
    bool local;
    bool enabled;
};

struct Received {
    std::string data;   // the data bytes, unescaped, no telnet byte among them
    std::string reply;  // what this end answers, to be sent at once
    std::vector<Subnegotiation> subnegotiations;
    std::vector<Change> changes;
};

class Negotiation {
  public:
    // local: the options this end offers to do (WILL); remote: those it asks
    // the peer to do (DO). Every other option is refused.
    Negotiation(std::set<unsigned char> local, std::set<unsigned char> remote);

    // The offers to send when the connection is made.
    std::string offers();
    // Bytes from the peer.
    Received receive(std::string_view bytes);
    // Data to send: escaped and, while this end does not send in binary, each
    // CR followed by a NUL as the network virtual terminal wants.
    std::string encode(std::string_view data) const;

    bool localEnabled(unsigned char option) const { return local_[option] == State::Yes; }
    bool remoteEnabled(unsigned char option) const { return remote_[option] == State::Yes; }

  private:
    enum class State : std::uint8_t { No, Asked, Yes };
    enum class Parse : std::uint8_t { Data, Command, Option, SubOption, SubData, SubCommand };

    void command(unsigned char byte, Received& out);
    void negotiate(unsigned char verb, unsigned char option, Received& out);

    std::set<unsigned char> wantLocal_, wantRemote_;
    std::array<State, 256> local_{};
    std::array<State, 256> remote_{};
    Parse parse_ = Parse::Data;
    unsigned char verb_ = 0;
    bool afterCr_ = false;
    Subnegotiation sub_{};
    bool subTooLong_ = false;
};

}  // namespace telnet
