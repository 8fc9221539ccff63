// Device servers' addresses: each form that is accepted, and each refusal
// with its reason and the part concerned.

#include <gtest/gtest.h>

#include "toolkit/DeviceAddress.h"
#include "vocabulary/Sentences.h"

using toolkit::AddressProblem;
using Protocol = toolkit::NetworkAddress::Protocol;

TEST(DeviceAddress, EachFormIsReadForWhatItSays) {
    struct Case {
        const char* text;
        Protocol protocol;
        const char* host;
        int port;
    };
    for (const Case& c : {
             Case{"tcp://10.0.4.21:4001", Protocol::Raw, "10.0.4.21", 4001},
             Case{"socket://projector-7.example:1", Protocol::Raw, "projector-7.example", 1},
             Case{"TCP://HOST:65535", Protocol::Raw, "HOST", 65535},
             Case{"Rfc2217://[::1]:2217", Protocol::Rfc2217, "::1", 2217},
             Case{"rfc2217://[2001:db8::5]:4001", Protocol::Rfc2217, "2001:db8::5", 4001},
             Case{"tcp://[::ffff:10.0.0.1]:7", Protocol::Raw, "::ffff:10.0.0.1", 7},
         }) {
        SCOPED_TRACE(c.text);
        const auto reading = toolkit::readAddress(c.text);
        ASSERT_TRUE(reading.address);
        EXPECT_EQ(reading.address->protocol, c.protocol);
        EXPECT_EQ(reading.address->host, c.host);
        EXPECT_EQ(reading.address->port, c.port);
        EXPECT_FALSE(toolkit::addressFault(c.text));
    }
}

TEST(DeviceAddress, EachRefusalSaysWhyInTheVocabularysWords) {
    struct Case {
        const char* text;
        AddressProblem problem;
        const char* said;
    };
    for (const Case& c : {
             Case{"ftp://host:21", AddressProblem::UnknownScheme,
                  "it has an unknown scheme, ftp://"},
             Case{"tcp://host", AddressProblem::NoPort, "it has no port"},
             Case{"tcp://host:", AddressProblem::NoPort, "it has no port"},
             Case{"tcp://:4001", AddressProblem::NoHost, "it has no host"},
             Case{"tcp://::1:4001", AddressProblem::BadHost, "goes in brackets: [::1]"},
             Case{"tcp://[::1:4001", AddressProblem::NoClosingBracket, "without its ]"},
             Case{"tcp://[]:4001", AddressProblem::BadIpv6, "between [ and ]"},
             Case{"tcp://[zz::1]:4001", AddressProblem::BadIpv6, "between [ and ]"},
             Case{"tcp://[::1]4001", AddressProblem::NoPort, "it has no port"},
             Case{"tcp://host:0", AddressProblem::PortOutOfRange, "port 0, outside 1 to 65535"},
             Case{"tcp://host:65536", AddressProblem::PortOutOfRange, "port 65536, outside"},
             Case{"tcp://host:99999999999999999999", AddressProblem::PortOutOfRange,
                  "port 99999999999999999999, outside"},
             Case{"tcp://host:-1", AddressProblem::PortOutOfRange, "port -1, outside"},
             Case{"tcp://host:40a1", AddressProblem::PortNotNumber, "not a number, 40a1"},
         }) {
        SCOPED_TRACE(c.text);
        const auto fault = toolkit::addressFault(c.text);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->address, c.problem);
        const std::string said = projector::faultText(*fault);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find("Write tcp://HOST:PORT"), std::string::npos) << said;
    }
    EXPECT_FALSE(toolkit::addressFault("/dev/ttyUSB0"));  // a path, not an address
}
