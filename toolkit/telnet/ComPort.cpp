#include "toolkit/telnet/ComPort.h"

namespace telnet {

namespace {

std::string baudBytes(std::uint32_t baud) {
    return {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
            static_cast<char>(baud >> 8), static_cast<char>(baud)};
}

std::uint32_t baudOf(std::string_view bytes) {
    std::uint32_t baud = 0;
    for (const char c : bytes.substr(0, 4)) baud = (baud << 8) | static_cast<unsigned char>(c);
    return baud;
}

std::string command(unsigned char code, std::string_view value) {
    std::string payload(1, static_cast<char>(code));
    payload += value;
    return subnegotiation(kComPort, payload);
}

std::string one(unsigned char value) {
    return std::string(1, static_cast<char>(value));
}

}  // namespace

ComPortClient::ComPortClient()
    : negotiation_({kComPort, kBinary, kSuppressGoAhead}, {kBinary, kSuppressGoAhead}) {}

std::string ComPortClient::start() {
    return negotiation_.offers();
}

std::string ComPortClient::requests() const {
    if (!wanted_ || control_ != Control::Agreed) return {};
    return command(SetBaudRate, baudBytes(wanted_->baud)) +
           command(SetDataSize, one(wanted_->dataSize)) + command(SetParity, one(wanted_->parity)) +
           command(SetStopSize, one(wanted_->stopSize));
}

std::string ComPortClient::request(const LineSettings& settings) {
    wanted_ = settings;
    differenceTold_ = false;
    return requests();
}

ComPortClient::Received ComPortClient::receive(std::string_view bytes) {
    heardTelnet_ = heardTelnet_ || bytes.find(static_cast<char>(IAC)) != std::string_view::npos;
    telnet::Received in = negotiation_.receive(bytes);
    Received out{std::move(in.data), std::move(in.reply), false, std::nullopt};
    for (const Change& change : in.changes) {
        if (change.option != kComPort || !change.local) continue;
        if (change.enabled) {
            control_ = Control::Agreed;
            out.reply += requests();
        } else {
            out.refused = control_ != Control::Refused;
            control_ = Control::Refused;
        }
    }
    for (const Subnegotiation& sub : in.subnegotiations) {
        if (sub.option == kComPort && !sub.payload.empty()) answered(sub, out);
    }
    return out;
}

// The server's answers are the settings in force; its notifications of the
// line and modem states may come at any time and change nothing here.
void ComPortClient::answered(const Subnegotiation& answer, Received& out) {
    const auto code = static_cast<unsigned char>(answer.payload[0]);
    const std::string_view value = std::string_view(answer.payload).substr(1);
    if (value.empty()) return;
    const auto first = static_cast<unsigned char>(value[0]);
    switch (code) {
        case kAnswer + SetBaudRate:
            if (value.size() < 4) return;
            inForce_.baud = baudOf(value);
            break;
        case kAnswer + SetDataSize:
            inForce_.dataSize = first;
            break;
        case kAnswer + SetParity:
            inForce_.parity = first;
            break;
        case kAnswer + SetStopSize:
            inForce_.stopSize = first;
            break;
        default:
            return;
    }
    if (!wanted_ || differenceTold_) return;
    const bool differs = (code == kAnswer + SetBaudRate && inForce_.baud != wanted_->baud) ||
                         (code == kAnswer + SetDataSize && first != wanted_->dataSize) ||
                         (code == kAnswer + SetParity && first != wanted_->parity) ||
                         (code == kAnswer + SetStopSize && first != wanted_->stopSize);
    if (differs) {
        differenceTold_ = true;
        out.differs = inForce_;
    }
}

ComPortServer::ComPortServer(LineSettings line)
    : negotiation_({kBinary, kSuppressGoAhead}, {kComPort, kBinary, kSuppressGoAhead}),
      line_(line) {}

std::string ComPortServer::start() {
    return negotiation_.offers();
}

ComPortServer::Received ComPortServer::receive(std::string_view bytes) {
    telnet::Received in = negotiation_.receive(bytes);
    Received out{std::move(in.data), std::move(in.reply), false};
    for (const Subnegotiation& sub : in.subnegotiations) {
        if (sub.option == kComPort && !sub.payload.empty()) {
            out.reply += answer(sub, out.lineChanged);
        }
    }
    return out;
}

// Each request is answered with the value in force afterwards; a value of 0
// only asks what it is.
std::string ComPortServer::answer(const Subnegotiation& request, bool& changed) {
    const auto code = static_cast<unsigned char>(request.payload[0]);
    const std::string value = request.payload.substr(1);
    const auto first = value.empty() ? 0 : static_cast<unsigned char>(value[0]);
    const LineSettings before = line_;
    switch (code) {
        case SetBaudRate:
            if (value.size() >= 4 && baudOf(value) != 0) line_.baud = baudOf(value);
            changed = changed || line_ != before;
            return command(kAnswer + SetBaudRate, baudBytes(line_.baud));
        case SetDataSize:
            if (first >= 5 && first <= 8) line_.dataSize = first;
            break;
        case SetParity:
            if (first >= LineSettings::None && first <= LineSettings::Space) line_.parity = first;
            break;
        case SetStopSize:
            if (first >= LineSettings::One && first <= LineSettings::OneAndHalf) {
                line_.stopSize = first;
            }
            break;
        default:
            // Control, masks, purge: acknowledged as asked.
            return command(static_cast<unsigned char>(kAnswer + code), value);
    }
    changed = changed || line_ != before;
    const unsigned char inForce = code == SetDataSize ? line_.dataSize
                                  : code == SetParity ? line_.parity
                                                      : line_.stopSize;
    return command(static_cast<unsigned char>(kAnswer + code), one(inForce));
}

}  // namespace telnet
