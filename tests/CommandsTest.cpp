// The command catalogue: a name of its own for every command, and the
// window's buttons sending exactly the catalogue's commands, each from one
// row.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "panel/CommandButtons.h"
#include "panel/ControlTable.h"
#include "panel/HoldRepeater.h"
#include "panel/Pacing.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"

TEST(Commands, EveryCommandHasANameOfItsOwnAndOneButton) {
    std::map<std::string_view, int> rows;
    for (const panel::CommandButton& row : panel::commandButtonTable()) ++rows[row.command];
    for (const panel::HoldButton& row : panel::holdButtonTable()) ++rows[row.command];
    std::set<std::string_view> names;
    const std::regex word("[a-z0-9]+(-[a-z0-9]+)*");
    for (const projector::Command& command : projector::commandCatalogue()) {
        EXPECT_TRUE(std::regex_match(std::string(command.name), word)) << command.name;
        EXPECT_TRUE(names.insert(command.name).second) << "twice: " << command.name;
        EXPECT_FALSE(command.what.empty()) << command.name;
        EXPECT_EQ(rows[command.name], command.typed ? 0 : 1) << command.name;
        for (const char* own : {"status", "send", "list"}) EXPECT_NE(command.name, own);
    }
    // No row names a command the catalogue lacks; every query has a name.
    EXPECT_EQ(rows.size(), names.size());
    for (const char* query :
         {"CR0", "CR1", "CR3", "CR4", "CR6", "CR7", "CR9", "CRA", "CR PRESSURE"}) {
        EXPECT_TRUE(
            std::any_of(projector::commandCatalogue().begin(), projector::commandCatalogue().end(),
                        [&](const projector::Command& command) { return command.code == query; }))
            << query;
    }
}

TEST(Commands, NamesGiveTheirCodesWordsAndReplyTimes) {
    struct Expected {
        const char* name;
        const char* code;
        const char* what;
        bool query;
        int replyMs;
    };
    for (const Expected& e : {
             Expected{"power-on", "C00", "Power on", false, 500},
             Expected{"input-pc1", "C05", "Input: PC1", false, 500},
             Expected{"volume-up", "C09", "Volume up", false, 500},
             Expected{"power-state", "CR0", "Ask for the power state", true, 500},
             Expected{"picture-cinema", "C13", "Picture mode: cinema", false, 2000},
             Expected{"pc2-scart", "C26", "PC2: SCART signal", false, 5000},
             Expected{"key-lock-remote", "CF KEYDIS RC",
                      "Remote-control key lock: the remote control's keys", false, 500},
         }) {
        const projector::Command* command = projector::commandNamed(e.name);
        ASSERT_TRUE(command) << e.name;
        EXPECT_EQ(command->code, e.code);
        EXPECT_EQ(command->what, e.what);
        EXPECT_EQ(projector::isQuery(command->code), e.query);
        EXPECT_EQ(command->replyMs, e.replyMs);
    }
    EXPECT_FALSE(projector::commandNamed("Power-On"));
    EXPECT_EQ(projector::codeOf("no-such-command"), "");
}

// A screen reader says what a button sends: its description begins with the
// catalogue's words for the command of its row.
TEST(Commands, EachDescribedButtonIsDescribedByTheCommandItSends) {
    std::map<std::string_view, std::string_view> sends;
    for (const panel::CommandButton& row : panel::commandButtonTable()) {
        sends[row.control] = row.command;
    }
    for (const panel::HoldButton& row : panel::holdButtonTable()) sends[row.control] = row.command;
    int described = 0;
    for (const panel::Description& description : panel::descriptionTable()) {
        const auto command = sends.find(description.control);
        if (command == sends.end()) continue;
        const projector::Command* sent = projector::commandNamed(command->second);
        ASSERT_TRUE(sent);
        EXPECT_TRUE(description.text.starts_with(sent->what))
            << description.control << ": \"" << description.text << "\" for " << sent->name;
        ++described;
    }
    EXPECT_GT(described, 40);
}

// A command held anywhere (the page too) repeats at the window's pace.
TEST(Commands, AHeldCommandRepeatsAtTheWindowsPace) {
    for (const panel::HoldButton& row : panel::holdButtonTable()) {
        const projector::Command* command = projector::commandNamed(row.command);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->repeatMs, row.arrow ? panel::kDesignRepeatMs : row.repeat)
            << row.command;
    }
    for (const projector::Command& command : projector::commandCatalogue()) {
        const bool held =
            std::any_of(panel::holdButtonTable().begin(), panel::holdButtonTable().end(),
                        [&](const panel::HoldButton& row) { return row.command == command.name; });
        EXPECT_EQ(command.repeatMs != 0, held) << command.name;
    }
}
