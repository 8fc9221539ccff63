#include <gtest/gtest.h>

#include "toolkit/SerialSettings.h"

using toolkit::readSerialSettings;
using toolkit::SerialSettings;

TEST(SerialSettings, ReadsEveryFieldItTakes) {
    struct Case {
        const char* text;
        int baud;
        SerialSettings::Parity parity;
        int dataBits;
        SerialSettings::StopBits stopBits;
    };
    using P = SerialSettings::Parity;
    using S = SerialSettings::StopBits;
    for (const Case& c : {
             Case{"19200,N,8,1", 19200, P::None, 8, S::One},
             Case{"9600,N,8,1", 9600, P::None, 8, S::One},
             Case{"4800,E,7,2", 4800, P::Even, 7, S::Two},
             Case{"1200,O,5,1.5", 1200, P::Odd, 5, S::OneAndHalf},
             Case{"300,M,6,1", 300, P::Mark, 6, S::One},
             Case{"115200,S,8,2", 115200, P::Space, 8, S::Two},
         }) {
        SCOPED_TRACE(c.text);
        const auto read = readSerialSettings(c.text);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->baud, c.baud);
        EXPECT_EQ(read->parity, c.parity);
        EXPECT_EQ(read->dataBits, c.dataBits);
        EXPECT_EQ(read->stopBits, c.stopBits);
    }
}

TEST(SerialSettings, RefusesWhatItCannotRead) {
    for (const char* text :
         {"", "19200", "19200,N,8", "19200,N,8,1,", "fast,N,8,1", "0,N,8,1", "-9600,N,8,1",
          "19200,n,8,1", "19200,X,8,1", "19200,NN,8,1", "19200,N,9,1", "19200,N,4,1", "19200,N,8,3",
          "19200,N,8,1.0", " 19200,N,8,1", "19200,N,8,1 "}) {
        EXPECT_FALSE(readSerialSettings(text)) << text;
    }
}

// One table gives the text and RFC 2217's codes: each setting goes to its
// code and back, and to the text that reads as it.
TEST(SerialSettings, TextAndWireCodesComeFromOneTable) {
    for (const char* text :
         {"19200,N,8,1", "9600,E,7,2", "300,O,5,1.5", "1200,M,6,1", "2400,S,8,2"}) {
        const auto settings = toolkit::readSerialSettings(text);
        ASSERT_TRUE(settings) << text;
        EXPECT_EQ(toolkit::settingsText(*settings), text);
        EXPECT_EQ(toolkit::parityOfRfc2217(toolkit::rfc2217Code(settings->parity)),
                  settings->parity);
        EXPECT_EQ(toolkit::stopBitsOfRfc2217(toolkit::rfc2217Code(settings->stopBits)),
                  settings->stopBits);
    }
    // RFC 2217: NONE 1, ODD 2, EVEN 3, MARK 4, SPACE 5; stop 1, 2, 1.5 as 1, 2, 3.
    EXPECT_EQ(toolkit::rfc2217Code(toolkit::SerialSettings::Parity::Even), 3);
    EXPECT_EQ(toolkit::rfc2217Code(toolkit::SerialSettings::StopBits::OneAndHalf), 3);
    EXPECT_FALSE(toolkit::parityOfRfc2217(0));
    EXPECT_FALSE(toolkit::stopBitsOfRfc2217(4));
}
