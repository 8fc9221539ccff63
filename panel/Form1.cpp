#include "panel/Form1.h"

#include <set>

#include "panel/CommandButtons.h"
#include "panel/ControlTable.h"
#include "panel/HoldButtons.h"

namespace panel {

using toolkit::Kind;

Form1::Form1(toolkit::Toolkit& toolkit)
    : toolkit_(toolkit),
      window_(build()),
      Timer1(timer("Timer1")),
      Timer2(timer("Timer2")),
      Timer3(timer("Timer3")),
      Timer4(timer("Timer4")),
      Label11(label("Label11")),
      Label12(label("Label12")),
      Frame8(frame("Frame8")),
      Command34(button("Command34")),
      Text1(*find(textBoxes_, "Text1")),
      link_({toolkit.serialPort(), Label11, Label12, label("Label22"), Frame8, Timer2, Timer3,
             Timer4, toolkit.messageBox()}) {
    route();
}

toolkit::Window& Form1::build() {
    toolkit::Window& window = toolkit_.createWindow(kForm1);
    // The focus starts on the first visible control, in the focus order, that
    // can take it.
    std::string_view firstFocus;
    int firstTab = 0;
    std::set<std::string_view> hiddenFrames;
    for (const toolkit::ControlSpec& spec : controlTable()) {
        const std::string name(spec.name);
        switch (spec.kind) {
            case Kind::Frame:
                frames_[name] = &toolkit_.createFrame(spec);
                break;
            case Kind::Label:
                labels_[name] = &toolkit_.createLabel(spec);
                break;
            case Kind::Button:
                buttons_[name] = &toolkit_.createButton(spec);
                break;
            case Kind::Option:
                options_[name] = &toolkit_.createOption(spec);
                break;
            case Kind::TextBox:
                textBoxes_[name] = &toolkit_.createTextBox(spec);
                break;
            case Kind::Image:
                images_[name] = &toolkit_.createImage(spec);
                break;
        }
        const bool visible = !spec.hidden && !hiddenFrames.contains(spec.container);
        if (spec.kind == Kind::Frame && !visible) hiddenFrames.insert(spec.name);
        const bool takesFocus =
            spec.kind == Kind::Button || spec.kind == Kind::Option || spec.kind == Kind::TextBox;
        if (takesFocus && visible && (firstFocus.empty() || spec.tab < firstTab)) {
            firstFocus = spec.name;
            firstTab = spec.tab;
        }
    }
    for (const toolkit::LineSpec& spec : lineTable()) toolkit_.createLine(spec);
    for (const toolkit::TimerSpec& spec : timerTable()) {
        timers_[std::string(spec.name)] = &toolkit_.createTimer(spec);
    }
    toolkit_.finishLayout(firstFocus);
    return window;
}

void Form1::run(const std::function<void()>& handler) {
    if (ended_) return;
    try {
        handler();
    } catch (const toolkit::SerialError& error) {
        endHold();
        toolkit_.messageBox().warn(error.what());
    }
}

std::function<void()> Form1::guarded(std::function<void()> handler) {
    return [this, handler = std::move(handler)] { run(handler); };
}

void Form1::route() {
    for (const CommandButton& entry : commandButtonTable()) {
        button(entry.control).onClick(guarded([this, &entry] { commandClick(entry); }));
    }
    for (const HoldButton& entry : holdButtonTable()) {
        button(entry.control).onPress(guarded([this, &entry] { holdPress(entry); }));
        button(entry.control).onRelease(guarded([this, &entry] { holdRelease(entry); }));
    }
    button("Command16").onClick(guarded([this] { Command16_Click(); }));
    button("Command34").onClick(guarded([this] { Command34_Click(); }));
    button("Command95").onClick(guarded([this] { Command95_Click(); }));
    button("Command96").onClick(guarded([this] { Command96_Click(); }));

    option("Option1").onClick(guarded([this] { link_.switchPort(1); }));
    option("Option2").onClick(guarded([this] { link_.switchPort(2); }));
    option("Option9").onClick(guarded([this] { link_.chooseSpeed(projector::kSettings19200); }));
    option("Option10").onClick(guarded([this] { link_.chooseSpeed(projector::kSettings9600); }));

    Timer1.onTimer(guarded([this] { Timer1_Timer(); }));
    Timer2.onTimer(guarded([this] { link_.Timer2_Timer(); }));
    Timer3.onTimer(guarded([this] { link_.Timer3_Timer(); }));
    Timer4.onTimer(guarded([this] { link_.Timer4_Timer(); }));
    toolkit_.serialPort().onComm(guarded([this] { link_.MSComm1_OnComm(); }));

    find(images_, "Image1")->onDoubleClick(guarded([this] { Image1_DblClick(); }));
    window_.onKeyDown(
        [this](int keyCode, int shift) { run([&] { Form_KeyDown(keyCode, shift); }); });
    window_.onPointerLost(guarded([this] { endHold(); }));
}

void Form1::Form_Load() {
    link_.setStartValues();
    const toolkit::Screen& screen = toolkit_.screen();
    window_.setLeft((screen.width() - window_.width()) / 2);
    window_.setTop((screen.height() - window_.height()) / 2);
    window_.setHeight(kHeightStart);
    RepeatKey = 0;
    link_.openPortAtStart();
    option("Option1").setValue(true);
}

// "END"
void Form1::Command16_Click() {
    link_.shutDown();
    ended_ = true;
    window_.unload();
}

}  // namespace panel
