#pragma once
// A started panel on the fake toolkit, ready for an operator.

#include <gtest/gtest.h>

#include "panel/Form1.h"
#include "tests/fake/FakeToolkit.h"

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() : form(tk) {}

    void SetUp() override {
        form.Form_Load();
        tk.port.calls.clear();
    }

    fake::Button& button(const std::string& name) { return tk.button(name); }
    fake::Label& label(const std::string& name) { return tk.label(name); }
    fake::Timer& timer(const std::string& name) { return tk.timer(name); }
    std::string caption(const std::string& name) { return tk.label(name).caption(); }
    void advance(std::int64_t ms) { tk.clock.advance(ms); }
    // The lines written since the last call, each without its CR.
    std::vector<std::string> sent() {
        std::vector<std::string> lines;
        for (std::string line : tk.port.writes) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        tk.port.writes.clear();
        return lines;
    }

    fake::Toolkit tk;
    panel::Form1 form;
};
