// What kr60p-ctl reads from its command line and standard input, before
// anything is opened: the commands, or one short reason.

#include <gtest/gtest.h>

#include <sstream>

#include "app/ctl/Script.h"

namespace {

struct Read {
    std::vector<std::string> names;
    std::vector<std::string> codes;
    std::string problem;
};

Read read(const std::vector<std::string>& words, const std::string& input = {}) {
    std::istringstream in(input);
    const ctl::Script script = ctl::readScript(words, in);
    Read result{{}, {}, script.problem};
    for (const ctl::Step& step : script.steps) {
        result.names.push_back(step.name);
        result.codes.push_back(step.code);
    }
    return result;
}

}  // namespace

TEST(Script, StandardInputIsReadAsAPersonTypesIt) {
    struct Case {
        const char* what;
        std::string input;
        std::vector<std::string> codes;
    };
    for (const Case& c : std::vector<Case>{
             {"trailing blanks", "power-on  \t\npower-off \n", {"C00", "C01"}},
             {"a byte-order mark", "\xEF\xBB\xBFpower-on\n", {"C00"}},
             {"upper case", "POWER-ON\nPower-Off\n", {"C00", "C01"}},
             {"comments and empty lines", "# morning\n\n  power-on # lights\n\t\n", {"C00"}},
             {"Windows line ends", "power-on\r\npower-state\r\n", {"C00", "CR0"}},
             {"a quoted code", "send \"CR PRESSURE\"\nsend 'CR9'\n", {"CR PRESSURE", "CR9"}},
             {"a code with blanks", "SEND   CR PRESSURE  \n", {"CR PRESSURE"}},
             {"no end of line", "power-on", {"C00"}},
         }) {
        SCOPED_TRACE(c.what);
        const Read result = read({"-"}, c.input);
        EXPECT_EQ(result.problem, "");
        EXPECT_EQ(result.codes, c.codes);
    }
}

TEST(Script, WhatCannotBeACommandIsRefusedWithWhereItStands) {
    struct Case {
        std::vector<std::string> words;
        std::string input;
        std::string problem;
    };
    for (const Case& c : std::vector<Case>{
             {{"power-on", "lamp"}, "", "unknown command \"lamp\". kr60p-ctl list shows"},
             {{"-"}, "power-on\npower-on now\n", "\"power-on now\" on line 2 of standard input"},
             {{"-"}, "send\n", "send needs a CODE on line 1 of standard input"},
             {{"send"}, "", "send needs a CODE, for example"},
             {{"-"}, "-\n", "\"-\" cannot be given on line 1"},
             {{"-"}, "# nothing\n\n", "no command on standard input."},
             {{"send", std::string(ctl::kLongestCode + 1, 'C')},
              "",
              "the CODE of send is 32768 characters long; the longest is 32767."},
             {{"-"}, "bad\x01name\n", "unknown command \"bad\\x01name\""},
         }) {
        const Read result = read(c.words, c.input);
        EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
        EXPECT_LT(result.problem.size(), 200u);
    }
}

TEST(Script, ACommandLineTakesNamesInAnyCaseAndCodesAsTheWireHasThem) {
    const Read result = read({"POWER-ON", "status", "send", "CR\xC3\xA9\xFF"});
    EXPECT_EQ(result.problem, "");
    ASSERT_EQ(result.names.size(), 3u);
    EXPECT_EQ(result.names[0], "power-on");
    EXPECT_EQ(result.names[1], "status");
    EXPECT_EQ(result.codes[2], "CR\xE9?");  // e-acute as its byte, a stray byte as '?'
    EXPECT_EQ(read({"send", std::string(ctl::kLongestCode, 'C')}).problem, "");
}
