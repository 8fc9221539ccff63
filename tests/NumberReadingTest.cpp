#include <gtest/gtest.h>

#include "vocabulary/NumberReading.h"

using projector::readNumber;
using projector::roundToInt16;

TEST(NumberReading, ReadsTheNumberAtTheStart) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {
             Case{" 5 1 2 CR ", 512},
             Case{"512", 512},
             Case{"\t1\n2 3", 123},
             Case{"-12", -12},
             Case{"+7", 7},
             Case{"2.5", 2.5},
             Case{".5", 0.5},
             Case{"1.2.3", 1.2},
             Case{"1E3", 1000},
             Case{"1D2", 100},
             Case{"1E-2", 0.01},
             Case{"1E+2", 100},
             Case{"1E", 1},
             Case{"1Ex", 1},
             Case{"&H200", 512},
             Case{"&HfF", 255},
             Case{"&O777", 511},
             Case{"&O78", 7},
             Case{"&H", 0},
             Case{"abc", 0},
             Case{"", 0},
             Case{"-", 0},
             Case{".", 0},
             Case{"CR ", 0},
             Case{"12abc", 12},
         }) {
        EXPECT_DOUBLE_EQ(readNumber(c.text), c.value) << c.text;
    }
}

TEST(NumberReading, RoundsHalvesToTheEvenNeighbour) {
    struct Case {
        double value;
        int rounded;
    };
    for (const Case& c :
         {Case{2.5, 2}, Case{3.5, 4}, Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.5, -2},
          Case{0.4999, 0}, Case{1.6, 2}, Case{32767.4, 32767}, Case{-32768.5, -32768}}) {
        ASSERT_TRUE(roundToInt16(c.value)) << c.value;
        EXPECT_EQ(*roundToInt16(c.value), c.rounded) << c.value;
    }
}

TEST(NumberReading, RefusesWhatDoesNotFitSixteenBits) {
    for (double value :
         {32767.5, 32768.0, -32768.51, 40000.0, 1e300, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(roundToInt16(value)) << value;
    }
    EXPECT_FALSE(roundToInt16(readNumber("1E999")));
}
