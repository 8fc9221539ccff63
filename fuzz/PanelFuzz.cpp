// The whole window on the fake toolkit, driven by a random sequence of
// operator, serial and clock events. After every event the panel's
// invariants must hold and nothing may have been written that no event
// asked for.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "panel/CommandButtons.h"
#include "panel/DirectEntry.h"
#include "panel/Form1.h"
#include "panel/HoldButtons.h"
#include "tests/fake/FakeToolkit.h"

namespace {

void check(bool holds) {
    if (!holds) std::abort();
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
    const std::vector<std::string> options{"Option1", "Option2", "Option9", "Option10"};

    // Every line the event sequence may put on the wire.
    std::set<std::string> allowed;
    for (const auto& b : panel::commandButtonTable()) allowed.insert(std::string(b.code) + '\r');
    for (const auto* h : holds) allowed.insert(std::string(h->code) + '\r');
    allowed.insert(panel::wireBytesOf("") + '\r');

    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 12)) {
            case 0:
                tk.button(buttons[in.ConsumeIntegralInRange<std::size_t>(0, buttons.size() - 1)])
                    .click();
                break;
            case 1:
                tk.button(
                      std::string(holds[in.ConsumeIntegralInRange<std::size_t>(0, holds.size() - 1)]
                                      ->control))
                    .press();
                break;
            case 2:
                tk.button(
                      std::string(holds[in.ConsumeIntegralInRange<std::size_t>(0, holds.size() - 1)]
                                      ->control))
                    .release();
                break;
            case 3:
                tk.window->losePointer();
                break;
            case 4:
                tk.window->keyDown(in.ConsumeIntegral<std::uint8_t>(),
                                   in.ConsumeIntegral<std::uint8_t>());
                break;
            case 5: {
                const std::string typed = in.ConsumeRandomLengthString(64);
                tk.textBox("Text1").setText(typed);
                allowed.insert(panel::wireBytesOf(typed) + '\r');
                break;
            }
            case 6:
                tk.port.deliver(in.ConsumeRandomLengthString(256));
                break;
            case 7:
                tk.port.raise(in.ConsumeIntegral<std::uint8_t>());
                break;
            case 8:
                tk.port.hangUp();
                break;
            case 9:
                tk.option(options[in.ConsumeIntegralInRange<std::size_t>(0, options.size() - 1)])
                    .click();
                break;
            case 10:
                tk.image("Image1").doubleClick();
                break;
            case 11:
                tk.port.plugIn();
                break;
            default:
                tk.clock.advance(in.ConsumeIntegralInRange(0, 6000));
                break;
        }

        const int pending = form.link().replyPending();
        check(pending == 0 || pending == 1);
        bool heldKey = form.RepeatKey == 0;
        for (const auto* h : holds) heldKey = heldKey || form.RepeatKey == h->key;
        check(heldKey);
        check(!form.timer("Timer1").enabled() || form.RepeatKey != 0);
        check(form.ArrowMode == 0 || form.ArrowMode == 1 || form.ArrowMode == 3);
        check(form.link().rxBuffer().size() <= 32767);
        for (const char* label : {"Label11", "Label12", "Label22"})
            check(printable(tk.label(label).caption()));
        for (const std::string& line : tk.port.writes) check(allowed.contains(line));
        tk.port.writes.clear();
        check(!form.timer("Timer5").enabled());
    }
    return 0;
}
