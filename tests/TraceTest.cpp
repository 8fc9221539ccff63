#include <gtest/gtest.h>

#include "vocabulary/Trace.h"

using projector::traceOf;

TEST(Trace, RendersEveryKindOfByte) {
    struct Case {
        std::string bytes;
        std::string trace;
    };
    for (const Case& c : {
             Case{"", " "},
             Case{"C00\r", " C 0 0 CR "},
             Case{"00\r", " 0 0 CR "},
             Case{"\x06", " ACK "},
             Case{"\x14"
                  "1",
                  " &1 "},
             Case{"\r\n", " CR LF "},
             Case{" ", "   "},
             Case{"\t", " ? "},
             Case{std::string(1, '\0'), " ? "},
             Case{"\x1b", " ? "},
             Case{"\x1f", " ? "},
             Case{"z", " z "},
             Case{"{", " ? "},
             Case{"~", " ? "},
             Case{"\x7f", " ? "},
             Case{"\x80", " ? "},
             Case{"\xff", " ? "},
             Case{"[\\]^_`", " [ \\ ] ^ _ ` "},
             Case{"&", " & "},
             Case{"\x06\x14\r\n\x01 Az{", " ACK &CR LF ?   A z ? "},
         }) {
        EXPECT_EQ(traceOf(c.bytes), c.trace) << "bytes of length " << c.bytes.size();
    }
}

TEST(Trace, PlacesEachPrintableCharacterAtTwiceItsPosition) {
    const std::string trace = traceOf("ABCDEFGHIJKLMNOPQ\r");
    for (std::size_t k = 1; k <= 17; ++k) EXPECT_EQ(trace[2 * k - 1], 'A' + k - 1);
}

TEST(Trace, EveryByteValueGivesPrintableAscii) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const char c : traceOf(all)) {
        EXPECT_GE(c, ' ');
        EXPECT_LE(c, '~');
    }
}
