#include "toolkit/telnet/Telnet.h"

namespace telnet {

namespace {

std::string three(unsigned char a, unsigned char b, unsigned char c) {
    return {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)};
}

}  // namespace

std::string escape(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        out += c;
        if (static_cast<unsigned char>(c) == IAC) out += c;
    }
    return out;
}

std::string subnegotiation(unsigned char option, std::string_view payload) {
    std::string out{static_cast<char>(IAC), static_cast<char>(SB), static_cast<char>(option)};
    out += escape(payload);
    out += static_cast<char>(IAC);
    out += static_cast<char>(SE);
    return out;
}

Negotiation::Negotiation(std::set<unsigned char> local, std::set<unsigned char> remote)
    : wantLocal_(std::move(local)), wantRemote_(std::move(remote)) {}

std::string Negotiation::offers() {
    std::string out;
    for (const unsigned char option : wantLocal_) {
        if (local_[option] != State::No) continue;
        local_[option] = State::Asked;
        out += three(IAC, WILL, option);
    }
    for (const unsigned char option : wantRemote_) {
        if (remote_[option] != State::No) continue;
        remote_[option] = State::Asked;
        out += three(IAC, DO, option);
    }
    return out;
}

std::string Negotiation::encode(std::string_view data) const {
    const bool binary = localEnabled(kBinary);
    std::string out;
    out.reserve(data.size());
    for (const char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == IAC) out += c;
        if (c == '\r' && !binary) out += '\0';
    }
    return out;
}

Received Negotiation::receive(std::string_view bytes) {
    Received out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (parse_) {
            case Parse::Data:
                if (byte == IAC) {
                    parse_ = Parse::Command;
                } else if (byte == 0 && afterCr_ && !remoteEnabled(kBinary)) {
                    afterCr_ = false;  // CR NUL is a bare CR
                } else {
                    out.data += c;
                    afterCr_ = c == '\r';
                }
                break;
            case Parse::Command:
                command(byte, out);
                break;
            case Parse::Option:
                negotiate(verb_, byte, out);
                parse_ = Parse::Data;
                break;
            case Parse::SubOption:
                sub_ = {byte, {}};
                subTooLong_ = false;
                parse_ = Parse::SubData;
                break;
            case Parse::SubData:
                if (byte == IAC) {
                    parse_ = Parse::SubCommand;
                } else if (sub_.payload.size() < kSubnegotiationLimit) {
                    sub_.payload += c;
                } else {
                    subTooLong_ = true;
                }
                break;
            case Parse::SubCommand:
                if (byte == IAC) {
                    if (sub_.payload.size() < kSubnegotiationLimit) {
                        sub_.payload += c;
                    } else {
                        subTooLong_ = true;
                    }
                    parse_ = Parse::SubData;
                } else if (byte == SE) {
                    if (!subTooLong_) out.subnegotiations.push_back(std::move(sub_));
                    sub_ = {};
                    parse_ = Parse::Data;
                } else {
                    // A command inside a subnegotiation ends it unfinished.
                    sub_ = {};
                    command(byte, out);
                }
                break;
        }
    }
    return out;
}

void Negotiation::command(unsigned char byte, Received& out) {
    parse_ = Parse::Data;
    afterCr_ = false;
    switch (byte) {
        case IAC:
            out.data += static_cast<char>(IAC);
            break;
        case WILL:
        case WONT:
        case DO:
        case DONT:
            verb_ = byte;
            parse_ = Parse::Option;
            break;
        case SB:
            parse_ = Parse::SubOption;
            break;
        default:
            break;  // NOP, GA, a stray SE and the like carry nothing for the line
    }
}

// Every request is answered at most once, and never when the option is
// already in the state asked, so that two ends cannot bounce for ever.
void Negotiation::negotiate(unsigned char verb, unsigned char option, Received& out) {
    const bool aboutLocal = verb == DO || verb == DONT;
    const bool enable = verb == DO || verb == WILL;
    State& state = aboutLocal ? local_[option] : remote_[option];
    const bool wanted = aboutLocal ? wantLocal_.contains(option) : wantRemote_.contains(option);
    const unsigned char yes = aboutLocal ? WILL : DO;
    const unsigned char no = aboutLocal ? WONT : DONT;
    const State before = state;
    if (enable) {
        if (state == State::Yes) return;
        if (state == State::Asked) {
            state = State::Yes;
        } else if (wanted) {
            state = State::Yes;
            out.reply += three(IAC, yes, option);
        } else {
            out.reply += three(IAC, no, option);
            return;
        }
    } else {
        if (state == State::No) return;
        if (state == State::Yes) out.reply += three(IAC, no, option);
        state = State::No;
    }
    if (state != before) {
        out.changes.push_back({option, aboutLocal, state == State::Yes});
    }
}

}  // namespace telnet
