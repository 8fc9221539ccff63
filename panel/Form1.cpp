#include "panel/Form1.h"

#include <map>
#include <set>

#include "panel/ControlNames.h"
#include "panel/ControlTable.h"

namespace panel {

using toolkit::Kind;
namespace n = names;

namespace {
constexpr std::string_view kWiring = "the window's wiring";

std::string rowOf(std::string_view table, std::size_t index) {
    return std::string(table) + " row " + std::to_string(index + 1);
}
}  // namespace

Form1::Form1(toolkit::Toolkit& toolkit, std::map<int, std::string> commandLineDevices,
             const std::vector<projector::LinkListener*>& listeners)
    : toolkit_(toolkit),
      window_(build()),
      choice_(toolkit.settings(), toolkit.serialDevices(), std::move(commandLineDevices)),
      port_(toolkit.serialPort(), toolkit.createTimer({"Reconnect", projector::kReconnectCheckMs})),
      link_(port_, controls_.timer(n::ReplyTimeout, kWiring),
            controls_.timer(n::TraceClear, kWiring)),
      trace_(controls_.label(n::SentTrace, kWiring), controls_.label(n::ReceivedTrace, kWiring),
             controls_.label(n::StatusText, kWiring)),
      settings_(port_,
                {controls_.button(n::Com, kWiring), controls_.frame(n::PortSettings, kWiring),
                 controls_.timer(n::SettingsAutoHide, kWiring), controls_.option(n::Com1, kWiring),
                 controls_.option(n::Com2, kWiring), controls_.option(n::Speed19200, kWiring),
                 controls_.option(n::Speed9600, kWiring)}),
      repeater_(link_, controls_.timer(n::RepeatTimer, kWiring), trace_),
      commands_(link_, repeater_),
      entry_(link_, controls_.textBox(n::CommandText, kWiring)),
      heights_(window_, controls_.button(n::DataToggle, kWiring), settings_),
      warnings_(toolkit.messageBox()),
      ports_(port_, choice_, toolkit.serialDevices(), settings_),
      deviceMenu_(
          port_, choice_,
          {toolkit.serialDevices(), toolkit.settings(), toolkit.popUpMenu(), toolkit.pathPrompt()},
          settings_, ports_, warnings_),
      startUp_(port_, choice_, deviceMenu_, settings_, window_, toolkit.messageBox()) {
    // A box is modal: everyone else hears of the event first, the repeater so
    // that no repetition runs on under the box, a log so that its lines keep
    // the order of the events, the device menu so that a failed choice has
    // put the link back before the box says why.
    port_.addListener(repeater_);
    port_.addListener(trace_);
    port_.addListener(settings_);
    for (projector::LinkListener* listener : listeners) port_.addListener(*listener);
    port_.addListener(deviceMenu_);
    port_.addListener(warnings_);
    port_.addListener(startUp_);
    ports_.apply();
    route();
}

toolkit::Window& Form1::build() {
    toolkit::Window& window = toolkit_.createWindow(kForm1);
    // The focus starts on the first visible control, in the focus order, that
    // can take it.
    std::string_view firstFocus;
    int firstTab = 0;
    std::set<std::string_view> hiddenFrames;
    std::map<std::string_view, std::string_view> descriptions;
    for (const Description& row : descriptionTable()) descriptions[row.control] = row.text;
    for (toolkit::ControlSpec spec : controlTable()) {
        if (const auto said = descriptions.find(spec.name); said != descriptions.end()) {
            spec.description = said->second;
        }
        switch (spec.kind) {
            case Kind::Frame:
                controls_.add(spec.name, toolkit_.createFrame(spec));
                break;
            case Kind::Label:
                controls_.add(spec.name, toolkit_.createLabel(spec));
                break;
            case Kind::Button:
                controls_.add(spec.name, toolkit_.createButton(spec));
                break;
            case Kind::Option:
                controls_.add(spec.name, toolkit_.createOption(spec));
                break;
            case Kind::TextBox:
                controls_.add(spec.name, toolkit_.createTextBox(spec));
                break;
            case Kind::Image:
                controls_.add(spec.name, toolkit_.createImage(spec));
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
    const auto described = descriptionTable();
    for (std::size_t i = 0; i < described.size(); ++i) {
        controls_.button(described[i].control, rowOf("description table", i));
    }
    for (const toolkit::LineSpec& spec : lineTable()) toolkit_.createLine(spec);
    for (const toolkit::TimerSpec& spec : timerTable()) {
        controls_.add(spec.name, toolkit_.createTimer(spec));
    }
    toolkit_.finishLayout(firstFocus);
    return window;
}

toolkit::Handler Form1::guarded(toolkit::Handler handler) {
    return [this, handler = std::move(handler)] {
        if (!ended()) handler();
    };
}

void Form1::route() {
    const auto commandTable = commandButtonTable();
    for (std::size_t i = 0; i < commandTable.size(); ++i) {
        const CommandButton& row = commandTable[i];
        controls_.button(row.control, rowOf("command button table", i))
            .onClick(guarded([this, &row] { commands_.click(row); }));
    }
    const auto holdTable = holdButtonTable();
    for (std::size_t i = 0; i < holdTable.size(); ++i) {
        const HoldButton& row = holdTable[i];
        toolkit::Button& button = controls_.button(row.control, rowOf("hold button table", i));
        button.onPress(guarded([this, &row] { repeater_.press(row); }));
        button.onRelease(guarded([this, &row] { repeater_.release(row); }));
    }
    controls_.timer(n::RepeatTimer, kWiring).onTimer(guarded([this] { repeater_.Timer1_Timer(); }));
    window_.onPointerLost(guarded([this] { repeater_.endHold(); }));

    controls_.button(n::Com, kWiring).onClick(guarded([this] {
        settings_.Command33_Click();
        ports_.showToolTips();
    }));
    controls_.timer(n::SettingsAutoHide, kWiring).onTimer(guarded([this] {
        settings_.Timer3_Timer();
    }));
    controls_.option(n::Com1, kWiring).onClick(guarded([this] { settings_.Option1_Click(); }));
    controls_.option(n::Com2, kWiring).onClick(guarded([this] { settings_.Option2_Click(); }));
    controls_.option(n::Com1, kWiring).onContextMenu(guarded([this] { deviceMenu_.open(1); }));
    controls_.option(n::Com2, kWiring).onContextMenu(guarded([this] { deviceMenu_.open(2); }));
    controls_.option(n::Speed19200, kWiring).onClick(guarded([this] {
        settings_.Option9_Click();
    }));
    controls_.option(n::Speed9600, kWiring).onClick(guarded([this] {
        settings_.Option10_Click();
    }));

    controls_.button(n::Send, kWiring).onClick(guarded([this] { entry_.Command95_Click(); }));
    controls_.button(n::ClearText, kWiring).onClick(guarded([this] { entry_.Command96_Click(); }));

    controls_.button(n::DataToggle, kWiring).onClick(guarded([this] {
        heights_.Command34_Click();
    }));
    controls_.image(n::Picture, kWiring).onDoubleClick(guarded([this] {
        heights_.Image1_DblClick();
    }));
    window_.onKeyDown([this](int keyCode, int shift) {
        if (!ended()) heights_.Form_KeyDown(keyCode, shift);
    });

    controls_.button(n::End, kWiring).onClick(guarded([this] { Command16_Click(); }));
    window_.onClose(guarded([this] { end("the window was closed"); }));
}

void Form1::onWarningShown(std::function<void(const std::string&)> observer) {
    warnings_.onShown(std::move(observer));
}

void Form1::onStartFailure(std::function<void(const std::string&)> observer) {
    startUp_.onFailure(std::move(observer));
}

void Form1::Form_Load() {
    link_.setStartValues();
    const toolkit::Screen& screen = toolkit_.screen();
    window_.setLeft((screen.width() - window_.width()) / 2);
    window_.setTop((screen.height() - window_.height()) / 2);
    window_.setHeight(kHeightStart);
    startUp_.begin();
}

void Form1::Command16_Click() {
    end("END was pressed");
}

void Form1::end(const std::string& reason) {
    if (ended()) return;
    link_.shutDown(reason);
    ended_ = true;
    window_.unload();
}

}  // namespace panel
