// The window's commands by name, for scripts: made from the command tables,
// so that each row is a command with a name of its own.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "panel/CommandButtons.h"
#include "panel/CommandNames.h"
#include "panel/HoldRepeater.h"

TEST(CommandNames, EveryRowIsOneCommandWithANameOfItsOwn) {
    const auto commands = panel::namedCommands();
    EXPECT_EQ(commands.size(),
              panel::commandButtonTable().size() + panel::holdButtonTable().size());
    std::set<std::string_view> names;
    const std::regex word("[a-z0-9]+(-[a-z0-9]+)*");
    for (const auto& command : commands) {
        EXPECT_TRUE(std::regex_match(std::string(command.name), word)) << command.name;
        EXPECT_TRUE(names.insert(command.name).second) << "twice: " << command.name;
        EXPECT_FALSE(command.what.empty()) << command.name;
        EXPECT_NE(command.name, "status");  // a command of kr60p-ctl's own
        EXPECT_NE(command.name, "send");
        EXPECT_NE(command.name, "list");
    }
    struct Expected {
        const char* name;
        const char* code;
        const char* what;
        bool query;
    };
    for (const Expected& e :
         {Expected{"power-on", "C00", "Power on", false},
          Expected{"input-pc1", "C05", "Input: PC1", false},
          Expected{"volume-up", "C09", "Volume up", false},
          Expected{"power-state", "CR0", "Ask for the power state", true},
          Expected{"key-lock-remote", "CF KEYDIS RC",
                   "Remote-control key lock: the remote control's keys", false}}) {
        const auto command = panel::commandNamed(e.name);
        ASSERT_TRUE(command) << e.name;
        EXPECT_EQ(command->code, e.code);
        EXPECT_EQ(command->what, e.what);
        EXPECT_EQ(command->query, e.query);
    }
    EXPECT_FALSE(panel::commandNamed("Power-On"));
}
