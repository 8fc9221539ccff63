#include <gtest/gtest.h>

#include <set>

#include "panel/ControlTable.h"
#include "tests/PanelFixture.h"

namespace {

const toolkit::ControlSpec& spec(std::string_view name) {
    for (const auto& s : panel::controlTable()) {
        if (s.name == name) return s;
    }
    throw std::out_of_range(std::string(name));
}

// Top and bottom of a control on the window's client area.
std::pair<int, int> span(std::string_view name) {
    const auto& s = spec(name);
    const int top = s.top + (s.container.empty() ? 0 : span(s.container).first);
    return {top, top + s.height};
}

}  // namespace

TEST(Layout, NamesAreUniqueAndContainersComeFirst) {
    std::set<std::string_view> seen;
    for (const auto& s : panel::controlTable()) {
        EXPECT_TRUE(seen.insert(s.name).second) << s.name;
        if (!s.container.empty()) {
            EXPECT_TRUE(seen.contains(s.container)) << s.name;
        }
    }
    EXPECT_EQ(seen.size(), 108u);
    EXPECT_EQ(panel::lineTable().size(), 12u);
}

TEST(Layout, TabPlacesAreUnique) {
    std::set<int> tabs;
    for (const auto& s : panel::controlTable()) {
        if (s.tab >= 0) {
            EXPECT_TRUE(tabs.insert(s.tab).second) << s.name;
        }
    }
}

TEST(Layout, WhatEachHeightShows) {
    struct Case {
        int height;
        std::vector<const char*> inside;   // wholly within the window
        std::vector<const char*> outside;  // wholly below it
    };
    for (const Case& c : {
             Case{5350,
                  {"Command42", "Command12", "Command36", "Command16"},
                  {"Frame9", "Command34", "Command44"}},
             Case{6645, {"Frame9", "Command52", "Command45", "Command34"}, {"Frame14"}},
             Case{7200, {"Frame9", "Command52"}, {"Frame15"}},
             Case{9100, {"Frame14", "Frame15"}, {}},
         }) {
        SCOPED_TRACE(c.height);
        const int clientHeight = c.height - toolkit::kAssumedFrameTwips;
        for (const char* name : c.inside) EXPECT_LE(span(name).second, clientHeight) << name;
        for (const char* name : c.outside) EXPECT_GE(span(name).first, clientHeight) << name;
    }
    const int at7200 = 7200 - toolkit::kAssumedFrameTwips;
    EXPECT_LT(span("Frame14").first, at7200);  // its top edge comes into view
    EXPECT_GT(span("Frame14").second, at7200);
}

using StartState = PanelTest;

TEST_F(StartState, ControlsAsLaidOut) {
    EXPECT_EQ(tk.window->caption(), "ORVA   KR60P   CONTROL   Ver.1.40");
    EXPECT_EQ(tk.focus, "Command17");
    EXPECT_FALSE(tk.frame("Frame8").visible());
    EXPECT_FALSE(button("Command34").visible());
    EXPECT_EQ(button("Command34").caption(), "データを表示する");
    for (const char* name : {"Label11", "Label12", "Label22"}) EXPECT_EQ(caption(name), "") << name;
    EXPECT_EQ(tk.textBox("Text1").text(), "");
    const std::map<std::string, int> intervals{
        {"Timer1", 200}, {"Timer2", 500}, {"Timer3", 5000}, {"Timer4", 1000}, {"Timer5", 2000}};
    for (const auto& [name, interval] : intervals) {
        EXPECT_EQ(timer(name).interval(), interval) << name;
        EXPECT_FALSE(timer(name).enabled()) << name;
    }
    EXPECT_EQ(form.RepeatKey, 0);
    EXPECT_EQ(form.ArrowMode, 0);
    EXPECT_EQ(form.ExpandFlag, 0);
}
