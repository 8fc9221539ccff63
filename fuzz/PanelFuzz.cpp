// The whole window on the fake toolkit, driven by a random sequence of
// operator, serial and clock events. After every event the panel's
// invariants must hold and nothing may have been written that no event
// asked for.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "panel/CommandButtons.h"
#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "panel/HoldRepeater.h"
#include "tests/support/FakeToolkit.h"
#include "vocabulary/WireBytes.h"

namespace names = panel::names;

namespace {

void check(bool holds, int line = __builtin_LINE()) {
    if (holds) return;
    std::fprintf(stderr, "PanelFuzz.cpp:%d: invariant broken\n", line);
    std::abort();
}

bool printable(const std::string& text) {
    for (const char c : text) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Toolkit tk;
    panel::Form1 form(tk);
    form.Form_Load();

    std::vector<std::string> buttons;
    for (const auto& [name, button] : tk.buttons) buttons.push_back(name);
    std::vector<const panel::HoldButton*> holds;
    for (const auto& hold : panel::holdButtonTable()) holds.push_back(&hold);
    const std::vector<std::string> options{names::Com1, names::Com2, names::Speed19200,
                                           names::Speed9600};
    // Whether a hold button is down, as the operator knows it: pressed, and
    // not yet released, lost from the pointer, or ended by a line that could
    // not be sent.
    bool held = false;
    struct HoldEnders : projector::LinkListener {
        void sendFailed(const std::string&, const toolkit::Fault&) override { happened = true; }
        void portEvent(const projector::PortEvent& event) override {
            happened = happened || event.kind == projector::PortEvent::Kind::Lost;
        }
        bool happened = false;
    } holdEnders;
    form.port().addListener(holdEnders);

    // Every line the event sequence may put on the wire.
    std::set<std::string> allowed;
    for (const auto& b : panel::commandButtonTable()) allowed.insert(std::string(b.code()) + '\r');
    for (const auto* h : holds) allowed.insert(std::string(h->code()) + '\r');
    allowed.insert(projector::wireBytesOf("") + '\r');

    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 12)) {
            case 0:
                tk.button(buttons[in.ConsumeIntegralInRange<std::size_t>(0, buttons.size() - 1)])
                    .click();
                break;
            case 1:
                tk.button(
                      holds[in.ConsumeIntegralInRange<std::size_t>(0, holds.size() - 1)]->control)
                    .press();
                held = true;
                break;
            case 2:
                tk.button(
                      holds[in.ConsumeIntegralInRange<std::size_t>(0, holds.size() - 1)]->control)
                    .release();
                held = false;
                break;
            case 3:
                tk.window->losePointer();
                held = false;
                break;
            case 4:
                tk.window->keyDown(in.ConsumeIntegral<std::uint8_t>(),
                                   in.ConsumeIntegral<std::uint8_t>());
                break;
            case 5: {
                const std::string typed = in.ConsumeRandomLengthString(64);
                tk.textBox(names::CommandText).setText(typed);
                const std::string wire = projector::wireBytesOf(typed);
                // A line ends where the operator typed its end, nowhere else.
                for (const char control : {'\r', '\0'}) {
                    check(std::count(wire.begin(), wire.end(), control) ==
                          std::count(typed.begin(), typed.end(), control));
                }
                allowed.insert(wire + '\r');
                break;
            }
            case 6:
                tk.port.deliver(in.ConsumeRandomLengthString(256));
                break;
            case 7: {
                using toolkit::CommEvent;
                // Every kind of event the port raises, and one it never does.
                static constexpr std::array kEvents{CommEvent::None,
                                                    CommEvent::Receive,
                                                    CommEvent::Lost,
                                                    CommEvent::Opened,
                                                    CommEvent::OpenFailed,
                                                    CommEvent::Notice,
                                                    static_cast<CommEvent>(1001)};
                tk.port.raise(
                    kEvents[in.ConsumeIntegralInRange<std::size_t>(0, kEvents.size() - 1)]);
                break;
            }
            case 8:
                tk.port.hangUp();
                break;
            case 9:
                tk.option(options[in.ConsumeIntegralInRange<std::size_t>(0, options.size() - 1)])
                    .click();
                break;
            case 10:
                tk.image(names::Picture).doubleClick();
                break;
            case 11:
                tk.port.plugIn();
                break;
            default:
                tk.clock.advance(in.ConsumeIntegralInRange(0, 6000));
                break;
        }

        // After "END" no handler runs, a release included: the run is over.
        if (tk.window->unloaded()) break;
        if (holdEnders.happened) held = false;
        holdEnders.happened = false;
        // Only a held button repeats.
        check(!tk.timer(names::RepeatTimer).enabled() || held);
        // The receive buffer is bounded: no character renders to more than
        // four trace characters.
        check(tk.label(names::ReceivedTrace).caption().size() <= 1 + 4 * 32767);
        for (const char* label : {names::SentTrace, names::ReceivedTrace, names::StatusText})
            check(printable(tk.label(label).caption()));
        for (const std::string& line : tk.port.writes) check(allowed.contains(line));
        tk.port.writes.clear();
        check(!tk.timer(names::SpareTimer).enabled());
    }
    return 0;
}
