#pragma once
// A started panel on the fake toolkit, ready for an operator.

#include <gtest/gtest.h>

#include <functional>

#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "tests/support/FakeToolkit.h"

namespace names = panel::names;

// A USB serial adapter as the system lists it.
inline toolkit::SerialDevice adapter(const std::string& id, const std::string& node) {
    return {"/dev/serial/by-id/" + id, node, "USB UART", "", "", true};
}
inline const toolkit::SerialDevice kBuiltIn{"/dev/ttyS0", "/dev/ttyS0", "", "", "", false};

// The lines the link reports as sent, or as failed, as its listeners hear them.
struct SentLines : projector::LinkListener {
    void lineSent(const std::string& line, const std::string& /*trace*/) override {
        sent.push_back(line);
    }
    void sendFailed(const std::string& line, const toolkit::Fault& /*fault*/) override {
        failed.push_back(line);
    }
    std::vector<std::string> sent;
    std::vector<std::string> failed;
};

class PanelTest : public ::testing::Test {
  protected:
    // prepare: what the machine has before the panel starts; listeners: more
    // listeners on the link, as the program adds a traffic log.
    explicit PanelTest(const std::function<void(fake::Toolkit&)>& prepare = {},
                       const std::vector<projector::LinkListener*>& listeners = {})
        : form(prepared(tk, prepare), {}, listeners) {
        form.port().addListener(linesSent);
    }

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
    // The Timer2 / Timer4 pair a press of an arrow leaves, which shows how
    // ArrowMode paces the arrows. The press and release leave 500 / 1000.
    std::pair<int, int> arrowPacing() {
        button(names::CursorUp).press();
        const std::pair<int, int> pacing{timer(names::ReplyTimeout).interval(),
                                         timer(names::TraceClear).interval()};
        button(names::CursorUp).release();
        return pacing;
    }
    // Whether a double-click on the picture enlarges the window now, which
    // shows ExpandFlag. The height is put back afterwards; the toggle shows
    // as a double-click leaves it.
    bool pictureEnlarges() {
        const int before = tk.window->height();
        tk.window->setHeight(panel::kHeightStart);
        tk.image(names::Picture).doubleClick();
        const bool enlarged = tk.window->height() == panel::kHeightFull;
        tk.window->setHeight(before);
        return enlarged;
    }

    fake::Toolkit tk;
    panel::Form1 form;
    SentLines linesSent;

  private:
    static fake::Toolkit& prepared(fake::Toolkit& toolkit,
                                   const std::function<void(fake::Toolkit&)>& prepare) {
        if (prepare) prepare(toolkit);
        return toolkit;
    }
};
