// What a device server sends, as the panel's RFC 2217 client reads it.
// Arbitrary bytes never crash it and keep its memory bounded; data the
// server sends, however telnet commands are mixed into it and wherever the
// stream is cut, comes out exactly as it went in.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "toolkit/telnet/ComPort.h"
#include "toolkit/telnet/Telnet.h"

namespace {

// A well-formed command for a byte of the fuzzer's choosing.
std::string commandFor(unsigned char pick) {
    const auto c = [](int value) { return static_cast<char>(value); };
    switch (pick % 5) {
        case 0:
            return {c(telnet::IAC), c(241)};  // NOP
        case 1:
            return {c(telnet::IAC), c(telnet::WILL + pick % 4), c(pick)};
        case 2:
            return telnet::subnegotiation(telnet::kComPort, std::string(pick % 7, c(pick)));
        case 3:
            return {c(telnet::IAC), c(249)};  // GA
        default:
            return telnet::subnegotiation(pick, std::string{c(pick), c(telnet::IAC)});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Anything at all: no crash, and the reply is only ever negotiation.
    telnet::ComPortClient any;
    any.start();
    const auto heard = any.receive(input);
    for (std::size_t i = 0; i + 2 < heard.reply.size(); i += 3) {
        if (static_cast<unsigned char>(heard.reply[i]) != telnet::IAC) std::abort();
    }
    if (heard.data.size() > input.size()) std::abort();

    // Data with commands between its bytes, cut where the input says.
    const std::string_view payload = input.substr(0, size / 2);
    const std::string_view picks = input.substr(size / 2);
    telnet::Negotiation sender({}, {});
    std::string stream;
    for (std::size_t i = 0; i < payload.size(); ++i) {
        if (i < picks.size() && (static_cast<unsigned char>(picks[i]) & 1)) {
            stream += commandFor(static_cast<unsigned char>(picks[i]) >> 1);
        }
        stream += sender.encode(payload.substr(i, 1));
    }
    telnet::ComPortClient client;
    client.start();
    std::string received;
    std::size_t at = 0;
    for (std::size_t i = 0; at < stream.size(); ++i) {
        const std::size_t cut =
            i < picks.size() ? 1 + static_cast<unsigned char>(picks[i]) % 13 : stream.size();
        received += client.receive(std::string_view(stream).substr(at, cut)).data;
        at += cut;
    }
    if (received != payload) std::abort();
    return 0;
}
