// Telnet and its COM port control option on bytes: what a device server may
// send, split anywhere, and what the panel answers.

#include <gtest/gtest.h>

#include <utility>

#include "toolkit/telnet/ComPort.h"
#include "toolkit/telnet/Telnet.h"

namespace {

using namespace telnet;
using namespace std::string_literals;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int value : values) out += static_cast<char>(value);
    return out;
}

// Everything an endpoint makes of a stream fed in two pieces.
struct Heard {
    std::string data, reply;
    std::vector<std::string> subs;
    bool operator==(const Heard&) const = default;
};

Heard feed(Negotiation endpoint, const std::string& stream, std::size_t split) {
    Heard heard;
    for (const std::string& piece : {stream.substr(0, split), stream.substr(split)}) {
        Received in = endpoint.receive(piece);
        heard.data += in.data;
        heard.reply += in.reply;
        for (const auto& sub : in.subnegotiations) {
            heard.subs.push_back(std::to_string(sub.option) + ":" + sub.payload);
        }
    }
    return heard;
}

}  // namespace

TEST(Telnet, AStreamSplitAnywhereReadsTheSame) {
    // Data with a doubled 0xFF and a CR NUL, an option refused, a
    // subnegotiation holding a doubled 0xFF, a NOP and a stray SE.
    const std::string stream = "8" + bytes({IAC, IAC}) + "0" + bytes({IAC, WILL, 1}) + "\r" +
                               bytes({0}) + bytes({IAC, SB, kComPort, 107, IAC, IAC, 1, IAC, SE}) +
                               bytes({IAC, 241, IAC, SE}) + "A";
    const Negotiation fresh({kComPort}, {kBinary});
    const Heard whole = feed(fresh, stream, stream.size());
    EXPECT_EQ(whole.data,
              "8\xff"
              "0\rA");
    EXPECT_EQ(whole.reply, bytes({IAC, DONT, 1}));
    EXPECT_EQ(whole.subs, std::vector<std::string>{"44:" + bytes({107, 255, 1})});
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        EXPECT_EQ(feed(fresh, stream, split), whole) << "split at " << split;
    }
}

TEST(Telnet, NoRequestIsAnsweredTwiceNorWhenTheOptionIsAsAsked) {
    struct Step {
        std::string in;
        std::string reply;
    };
    Negotiation endpoint({kComPort, kBinary}, {kBinary});
    EXPECT_EQ(endpoint.offers(),
              bytes({IAC, WILL, kBinary, IAC, WILL, kComPort, IAC, DO, kBinary}));
    EXPECT_EQ(endpoint.offers(), "");  // already asked
    for (const Step& step : std::vector<Step>{
             {bytes({IAC, DO, kComPort}), ""},   // the answer to our offer
             {bytes({IAC, DO, kComPort}), ""},   // already so
             {bytes({IAC, WILL, kBinary}), ""},  // the answer to our request
             {bytes({IAC, DO, kBinary}), ""},    // and to our offer
             {bytes({IAC, DONT, kBinary}), bytes({IAC, WONT, kBinary})},  // turned off
             {bytes({IAC, DONT, kBinary}), ""},                           // already off
             {bytes({IAC, DO, 24}), bytes({IAC, WONT, 24})},              // not offered: refused
             {bytes({IAC, WONT, 24}), ""},                                // off already
             {bytes({IAC, WILL, 1}), bytes({IAC, DONT, 1})},              // not wanted: refused
         }) {
        EXPECT_EQ(endpoint.receive(step.in).reply, step.reply);
    }
    EXPECT_TRUE(endpoint.localEnabled(kComPort));
    EXPECT_FALSE(endpoint.localEnabled(kBinary));
    EXPECT_TRUE(endpoint.remoteEnabled(kBinary));
}

TEST(Telnet, DataSurvivesEncodingWhetherOrNotBinaryWasAgreed) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    all += "\r\r\0\xff\xff"s;
    for (const bool binary : {false, true}) {
        SCOPED_TRACE(binary);
        Negotiation sender({kBinary}, {}), receiver({}, {kBinary});
        if (binary) {
            sender.offers();
            receiver.offers();
            sender.receive(bytes({IAC, DO, kBinary}));
            receiver.receive(bytes({IAC, WILL, kBinary}));
        }
        const std::string wire = sender.encode(all);
        EXPECT_EQ(wire.size(), all.size() + 3 + (binary ? 0 : 3));
        EXPECT_EQ(receiver.receive(wire).data, all);
    }
}

TEST(Telnet, ASubnegotiationThatNeverEndsCostsNothingAndHidesWhatFollows) {
    Negotiation endpoint({}, {});
    const Received in =
        endpoint.receive(bytes({IAC, SB, kComPort}) + std::string(1 << 20, 'x') + "80\r");
    EXPECT_EQ(in.data, "");
    EXPECT_TRUE(in.subnegotiations.empty());
    EXPECT_EQ(endpoint.receive(bytes({IAC, SE}) + "ok").data, "ok");
}

TEST(ComPort, TheClientSetsTheLineOnceTheServerAgreesAndReadsItsAnswers) {
    ComPortClient client;
    EXPECT_EQ(client.start(), bytes({IAC, WILL, kBinary, IAC, WILL, kSuppressGoAhead, IAC, WILL,
                                     kComPort, IAC, DO, kBinary, IAC, DO, kSuppressGoAhead}));
    // 65535 baud puts two 0xFF in the value: each goes doubled.
    EXPECT_EQ(client.request({65535, 8, LineSettings::None, LineSettings::One}), "");
    const auto agreed = client.receive(bytes({IAC, DO, kComPort}));
    EXPECT_EQ(agreed.reply,
              bytes({IAC, SB, kComPort, SetBaudRate, 0, 0, 255, 255, 255, 255, IAC, SE}) +
                  bytes({IAC, SB, kComPort, SetDataSize, 8, IAC, SE}) +
                  bytes({IAC, SB, kComPort, SetParity, 1, IAC, SE}) +
                  bytes({IAC, SB, kComPort, SetStopSize, 1, IAC, SE}));
    EXPECT_EQ(client.control(), ComPortClient::Control::Agreed);

    // The server's answers are the settings in force; one that differs is
    // told once; notifications change nothing.
    const auto answered = client.receive(
        bytes({IAC, SB, kComPort, kAnswer + SetBaudRate, 0, 0, 0x25, 0x80, IAC, SE}) +
        bytes({IAC, SB, kComPort, kAnswer + NotifyModemState, 0x30, IAC, SE}) +
        bytes({IAC, SB, kComPort, kAnswer + SetDataSize, 7, IAC, SE}));
    ASSERT_TRUE(answered.differs);
    EXPECT_EQ(answered.differs->baud, 9600u);
    EXPECT_EQ(client.inForce().dataSize, 7);
    EXPECT_EQ(answered.data, "");
}

TEST(ComPort, AServerThatRefusesIsToldOnceAndNeverAskedForTheModemLines) {
    ComPortClient client;
    client.start();
    client.request({19200});
    const auto refused = client.receive(bytes({IAC, DONT, kComPort}));
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(refused.reply, "");
    EXPECT_FALSE(client.receive(bytes({IAC, DONT, kComPort})).refused);
    EXPECT_EQ(client.request({9600}), "");
    EXPECT_EQ(client.control(), ComPortClient::Control::Refused);
}

TEST(ComPort, TheServerAnswersEachRequestWithTheValueInForce) {
    ComPortServer server({19200});
    ComPortClient client;
    // None of it the client's own default: the client learns each from the answers.
    const LineSettings asked{38400, 7, LineSettings::Even, LineSettings::Two};
    std::string toServer = client.start() + client.request(asked);
    std::string toClient = server.start();
    bool changed = false, differed = false;
    for (int turn = 0; turn < 4; ++turn) {
        const auto atServer = server.receive(std::exchange(toServer, {}));
        changed = changed || atServer.lineChanged;
        toClient += atServer.reply;
        const auto atClient = client.receive(std::exchange(toClient, {}));
        differed = differed || atClient.differs.has_value();
        toServer = atClient.reply;
    }
    EXPECT_TRUE(changed);
    EXPECT_FALSE(differed);
    EXPECT_EQ(server.line(), asked);
    EXPECT_EQ(client.inForce(), asked);
}

// What the telnet framing must not lose or keep: the NUL after a CR that a
// command (241, NOP) separates from it is data; a subnegotiation too long to
// keep is dropped whole, and the next one arrives whole.
TEST(Telnet, CommandsAndOverlongSubnegotiationsTakeNothingFromWhatFollows) {
    Negotiation endpoint({}, {});
    EXPECT_EQ(endpoint.receive("A\r" + bytes({IAC, 241}) + "\0B"s).data, "A\r\0B"s);
    EXPECT_EQ(endpoint.receive("C\r\0D"s).data, "C\rD");  // CR NUL is a bare CR

    const Received in =
        endpoint.receive(bytes({IAC, SB, kComPort}) + std::string(kSubnegotiationLimit + 10, 'x') +
                         bytes({IAC, SE, IAC, SB, kComPort}) + "short" + bytes({IAC, SE}) + "80\r");
    ASSERT_EQ(in.subnegotiations.size(), 1u);
    EXPECT_EQ(in.subnegotiations[0].payload, "short");
    EXPECT_EQ(in.data, "80\r");
}

// A server that answers a new request with other settings again is told of
// again: once per request, not once for ever.
TEST(ComPort, EachRequestThatTheServerAnswersOtherwiseIsToldOnce) {
    ComPortClient client;
    client.request({19200, 8, LineSettings::None, LineSettings::One});
    client.receive(bytes({IAC, DO, kComPort}));
    const std::string slower =
        bytes({IAC, SB, kComPort, kAnswer + SetBaudRate, 0, 0, 0x25, 0x80, IAC, SE});
    EXPECT_TRUE(client.receive(slower).differs);
    EXPECT_FALSE(client.receive(slower).differs);
    client.request({19200, 8, LineSettings::None, LineSettings::One});
    EXPECT_TRUE(client.receive(slower).differs);
}
