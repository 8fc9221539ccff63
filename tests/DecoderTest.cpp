#include <gtest/gtest.h>

#include "vocabulary/Decoder.h"
#include "vocabulary/Trace.h"

using projector::decodeReply;
using projector::traceOf;

namespace {

// Decodes the trace of a reply to a query sent with the empty prefix.
std::optional<std::string> decode(const std::string& query, const std::string& reply) {
    std::int16_t pressure = 0;
    return decodeReply(query + "\r", "", traceOf(reply), pressure);
}

struct Row {
    const char* query;
    const char* reply;
    const char* caption;
};

}  // namespace

TEST(Decoder, EveryRowOfEveryTable) {
    for (const Row& row : {
             Row{"CR0", "00\r", " Power ON"},
             Row{"CR0", "80\r", " Stand by"},
             Row{"CR0", "40\r", " Count down"},
             Row{"CR0", "20\r", " Cooling down"},
             Row{"CR0", "10\r", " Power Fail"},
             Row{"CR0", "08\r", " Temperature Warning"},
             Row{"CR0", "02\r", " NO Key input "},
             Row{"CR0", "04\r", " Lamp OFF by PWR Management"},
             Row{"CR0", "28\r", " Temperature Warning & cooling down"},
             Row{"CR0", "24\r", "Cooling down  PWR Management"},
             Row{"CR0", "88\r", " Temperature Warning and recoverd"},
             Row{"CR0", "21\r", " Cooling down (All Lamp FAIL)"},
             Row{"CR0", "81\r", " Cooling down & sutandby (All Lamp FAIL)"},
             Row{"CR1", "1\r", " Computer 1"},
             Row{"CR1", "2\r", " Computer 2"},
             Row{"CR1", "3\r", " Video"},
             Row{"CR1", "4\r", " Input mode 4"},
             Row{"CR1", "12\r", " Computer 1"},
             Row{"CR4", "11\r", " Normally"},
             Row{"CR4", "10\r", " Top/Bottom reversal"},
             Row{"CR4", "01\r", " Left/Right reversal"},
             Row{"CR4", "00\r", " Top/Bottom , Left/Right reversal"},
             Row{"CRA", "00\r", " Video & Audio mute OFF"},
             Row{"CRA", "01\r", " Video mute ON"},
             Row{"CRA", "02\r", " Audio mute ON"},
             Row{"CRA", "03\r", " Video & Audio mute ON"},
             Row{"CRA", "80\r", " No signal"},
             Row{"CRA", "FF\r", " Stand by"},
             Row{"CR7", "00\r", " All OFF : 2 Lamp mode"},
             Row{"CR7", "01\r", " No1 ON  : 2 Lamp mode"},
             Row{"CR7", "02\r", " No2 ON  : 2 Lamp mode"},
             Row{"CR7", "03\r", " No1,2 ON  : 2 Lamp mode"},
             Row{"CR7", "10\r", " All OFF : 1 Lamp mode(No1 USE)"},
             Row{"CR7", "11\r", " No1 ON  : 1 Lamp mode(No1 USE)"},
             Row{"CR7", "20\r", " All OFF : 1 Lamp mode(No2 USE)"},
             Row{"CR7", "22\r", " No2 ON  : 1 Lamp mode(No2 USE)"},
             Row{"CR3", "12345\r", " 1 2 3 4 5 CR  Hour Use"},
             Row{"CR3", "1234567890123456789012\r",
                 " 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 Hour Use"},
             Row{"CR6", "ABCDEFGHIJKLMNOPQ\r",
                 "  S1= A B C D E C  ,   S2=  H I J K C , S3= M N O P Q C"},
             Row{"CR6", "AB", "  S1= A B  C  ,   S2=  C , S3= C"},
             Row{"CR9", "KR60P Ver1.40\r", " K R 6 0 P   V e r 1 . 4 0 CR "},
             Row{"CR PRESSURE", "512\r", "650 hPa"},
             Row{"CR PRESSURE", "0", "106 hPa"},
         }) {
        EXPECT_EQ(decode(row.query, row.reply), std::optional<std::string>(row.caption))
            << row.query << " answered " << row.reply;
    }
}

TEST(Decoder, KeysThatMatchNoRowLeaveTheResultAlone) {
    for (const Row& row : {
             Row{"CR0", "01\r", nullptr},
             Row{"CR0", "0", nullptr},
             Row{"CR0", "", nullptr},
             Row{"CR0", "\x06", nullptr},
             Row{"CR1", "5\r", nullptr},
             Row{"CR1", "\r", nullptr},
             Row{"CR4", "22\r", nullptr},
             Row{"CRA", "ff\r", nullptr},
             Row{"CRA", "04\r", nullptr},
             Row{"CR7", "21\r", nullptr},
         }) {
        EXPECT_EQ(decode(row.query, row.reply), std::nullopt)
            << row.query << " answered " << row.reply;
    }
}

TEST(Decoder, OnlyAnExactQueryLineSelectsARule) {
    std::int16_t pressure = 0;
    const std::string trace = traceOf("00\r");
    for (const char* sendLine : {"", "C00\r", "cr0\r", "CR0 \r", "CR0", " CR0\r", "CR0\r\r",
                                 "CR00\r", "CR  PRESSURE\r", "CR2\r", "CR5\r", "CR8\r"}) {
        EXPECT_EQ(decodeReply(sendLine, "", trace, pressure), std::nullopt) << sendLine;
    }
    EXPECT_EQ(decodeReply("@CR0\r", "@", trace, pressure), " Power ON");
    EXPECT_EQ(decodeReply("CR0\r", "@", trace, pressure), std::nullopt);
}

TEST(Decoder, VerbatimCopiesTheWholeTrace) {
    std::string reply;
    for (int b = 0; b < 256; ++b) reply += static_cast<char>(b);
    EXPECT_EQ(decode("CR9", reply), traceOf(reply));
}

TEST(Decoder, Pressure) {
    struct Case {
        const char* reply;
        const char* caption;
    };
    for (const Case& c : {
             Case{"0\r", "106 hPa"},
             Case{"200\r", "318 hPa"},
             Case{"512\r", "650 hPa"},
             Case{"1023\r", "1194 hPa"},
             Case{"6553\r", "7077 hPa"},
             Case{"-6553\r", "-6865 hPa"},
             Case{" 5 1 2 \r", "650 hPa"},
             Case{"&H200\n", "650 hPa"},
             // The "C" of the traced CR is a hexadecimal digit: &H200C.
             Case{"&H200\r", " Pressure out of range"},
             Case{"&O777\r", "649 hPa"},
             Case{"1E3\r", "1169 hPa"},
             Case{"1D2\r", "212 hPa"},
             Case{"2.5\r", "108 hPa"},
             Case{"3.5\r", "110 hPa"},
             Case{"-0.5\r", "106 hPa"},
             Case{"abc\r", "106 hPa"},
             Case{"1.2.3\r", "107 hPa"},
             Case{"6554\r", " Pressure out of range"},
             Case{"-6554\r", " Pressure out of range"},
             Case{"40000\r", " Pressure out of range"},
             Case{"1E999\r", " Pressure out of range"},
         }) {
        EXPECT_EQ(decode("CR PRESSURE", c.reply), std::optional<std::string>(c.caption)) << c.reply;
    }
}

TEST(Decoder, PressureReadsNumbersOfAnyLengthByTheirValue) {
    const std::string zeros(400, '0');
    struct Case {
        std::string reply;
        const char* caption;
    };
    for (const Case& c : {
             Case{"0." + zeros + "1\r", "106 hPa"},                  // too small for a double: 0
             Case{"1" + zeros + "E-1\r", " Pressure out of range"},  // too large: out of range
             Case{"0." + zeros + "5E+402\r", "159 hPa"},             // 50
             Case{"1" + zeros + "E-398\r", "212 hPa"},               // 100
             Case{"-0." + zeros + "1\r", "106 hPa"},
             Case{"512" + std::string(20'000, '0') + "E-20000\r", "650 hPa"},
             Case{"1E99999999999999999999\r", " Pressure out of range"},
             Case{"1E-99999999999999999999\r", "106 hPa"},
         }) {
        EXPECT_EQ(decode("CR PRESSURE", c.reply), std::optional<std::string>(c.caption))
            << c.reply.size() << " characters";
    }
}

TEST(Decoder, PressureOutOfRangeKeepsTheLastValue) {
    std::int16_t pressure = 0;
    const std::string query = "CR PRESSURE\r";
    decodeReply(query, "", traceOf("512\r"), pressure);
    EXPECT_EQ(pressure, 650);
    EXPECT_EQ(decodeReply(query, "", traceOf("40000\r"), pressure), " Pressure out of range");
    EXPECT_EQ(pressure, 650);
    decodeReply(query, "", traceOf("6553\r"), pressure);
    EXPECT_EQ(pressure, 7077);
    decodeReply(query, "", traceOf("6554\r"), pressure);
    EXPECT_EQ(pressure, 7077);
}

// What a program gets from a reply: a state by a stable name, numbers for
// hours, temperatures and pressure, each read where the window shows it (a
// sign, blanks and leading zeros part of it, nothing for a field that is no
// number); nothing for a reply that is not a whole line or says nothing a
// table knows.
TEST(Readings, AReplyIsReadAsAProgramWantsItOrNotAtAll) {
    using projector::Field;
    constexpr std::optional<double> none;
    struct Case {
        const char* code;
        const char* reply;
        std::optional<Field> field;  // nothing: nothing read
        std::string text;
        std::vector<std::optional<double>> numbers;
    };
    for (const Case& c : std::vector<Case>{
             {"CR0", "80\r", Field::State, "standby", {}},
             {"CR0", "21\r", Field::State, "cooling-down-all-lamps-failed", {}},
             {"CR0", "99\r", {}, "", {}},
             {"CR1", "3\r", Field::Input, "video", {}},
             {"CRA", "FF\r", Field::Mute, "standby", {}},
             {"CR3", "01234\r", Field::Hours, "", {1234}},
             {"CR3", " +1240\r", Field::Hours, "", {1240}},
             {"CR3", "\x81x01234\r", Field::Hours, "", {none}},
             {"CR3", "01234", {}, "", {}},  // no CR: not a whole line
             {"CR6", "038.2  45.9 033.7\r", Field::Temperatures, "", {38.2, 45.9, 33.7}},
             {"CR6", "+25.0 +30.0 +35.0\r", Field::Temperatures, "", {25.0, 30.0, 35.0}},
             {"CR6", "-05.5  0012 +0.5 \r", Field::Temperatures, "", {-5.5, 12, 0.5}},
             {"CR6", "038.2  45.9\r", Field::Temperatures, "", {38.2, 45.9, none}},
             {"CR6", "38..2  4x.9 --1.0\r", Field::Temperatures, "", {none, none, none}},
             {"CR PRESSURE", "853\r", Field::Pressure, "", {1013}},
             {"CR PRESSURE", "99999\r", Field::Pressure, "", {none}},
             {"CR9", "KR60P Ver1.40\r", Field::Version, "KR60P Ver1.40", {}},
             {"C00", "\x06", {}, "", {}},
         }) {
        SCOPED_TRACE(std::string(c.code) + " " + c.reply);
        std::int16_t pressure = 0;
        const auto reading = projector::readReply(c.code, c.reply, pressure);
        ASSERT_EQ(reading.has_value(), c.field.has_value());
        if (!reading) continue;
        EXPECT_EQ(reading->field, *c.field);
        EXPECT_EQ(reading->text, c.text);
        EXPECT_EQ(reading->numbers, c.numbers);
    }
}
