#include <gtest/gtest.h>

#include <set>

#include "PanelFixture.h"
#include "panel/ControlRegistry.h"
#include "panel/ControlTable.h"

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
                  {names::PictureImage4, names::PictureBlackboard, names::PictureDynamic,
                   names::End},
                  {names::TraceGroup, names::DataToggle, names::StatusQuery}},
             Case{6645,
                  {names::TraceGroup, names::LampModeQuery, names::InputQuery, names::DataToggle},
                  {names::SignalTypeGroup}},
             Case{7200, {names::TraceGroup, names::LampModeQuery}, {names::EntryGroup}},
             Case{9100, {names::SignalTypeGroup, names::EntryGroup}, {}},
         }) {
        SCOPED_TRACE(c.height);
        const int clientHeight = c.height - toolkit::kAssumedFrameTwips;
        for (const char* name : c.inside) EXPECT_LE(span(name).second, clientHeight) << name;
        for (const char* name : c.outside) EXPECT_GE(span(name).first, clientHeight) << name;
    }
    const int at7200 = 7200 - toolkit::kAssumedFrameTwips;
    EXPECT_LT(span(names::SignalTypeGroup).first, at7200);  // its top edge comes into view
    EXPECT_GT(span(names::SignalTypeGroup).second, at7200);
}

using StartState = PanelTest;

TEST_F(StartState, ControlsAsLaidOut) {
    EXPECT_EQ(tk.window->caption(), "ORVA   KR60P   CONTROL   Ver.1.40");
    EXPECT_EQ(tk.focus, names::PowerOn);
    EXPECT_FALSE(tk.frame(names::PortSettings).visible());
    EXPECT_FALSE(button(names::DataToggle).visible());
    EXPECT_EQ(button(names::DataToggle).caption(), "データを表示する");
    for (const char* name : {names::SentTrace, names::ReceivedTrace, names::StatusText})
        EXPECT_EQ(caption(name), "") << name;
    EXPECT_EQ(tk.textBox(names::CommandText).text(), "");
    const std::map<std::string, int> intervals{{names::RepeatTimer, 200},
                                               {names::ReplyTimeout, 500},
                                               {names::SettingsAutoHide, 5000},
                                               {names::TraceClear, 1000},
                                               {names::SpareTimer, 2000}};
    for (const auto& [name, interval] : intervals) {
        EXPECT_EQ(timer(name).interval(), interval) << name;
        EXPECT_FALSE(timer(name).enabled()) << name;
    }
    // Nothing is held, the arrows leave the intervals as they are, and the
    // picture's double-click is not armed.
    tk.clock.advance(200);
    EXPECT_TRUE(tk.port.writes.empty());
    EXPECT_EQ(arrowPacing(), (std::pair{500, 1000}));
    EXPECT_FALSE(pictureEnlarges());
}

TEST(Tables, ARowNamingAMissingControlOrOneOfAnotherKindStopsStartUp) {
    fake::Label trace;
    fake::Button powerOn("ON");
    panel::ControlRegistry controls;
    controls.add(names::SentTrace, trace);
    controls.add(names::PowerOn, powerOn);
    EXPECT_EQ(&controls.button(names::PowerOn, "command button table row 1"), &powerOn);

    const auto errorOf = [&](const char* name) {
        try {
            controls.button(name, "hold button table row 3");
        } catch (const panel::TableError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf("Command99"),
              "hold button table row 3 names Command99, which is not on the window.");
    EXPECT_EQ(errorOf(names::SentTrace),
              "hold button table row 3 names Label11, which is a label, not a button.");
}
