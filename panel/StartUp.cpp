#include "panel/StartUp.h"

#include "panel/Messages.h"

namespace panel {

using Kind = projector::PortEvent::Kind;

StartUp::StartUp(projector::Port& port, const projector::DeviceChoice& choice, DeviceMenu& menu,
                 PortSettingsFrame& frame, toolkit::Window& window, toolkit::MessageBox& box)
    : port_(port), choice_(choice), menu_(menu), frame_(frame), window_(window), box_(box) {}

void StartUp::begin() {
    if (port_.openPortAtStart()) frame_.switchTo(1);
}

void StartUp::onFailure(std::function<void(const std::string&)> observer) {
    failure_ = std::move(observer);
}

void StartUp::portEvent(const projector::PortEvent& event) {
    if (event.kind == Kind::Started) {
        if (trying_) menu_.keep(1, *trying_);
        trying_.reset();
        window_.show();
    } else if (event.kind == Kind::StartFailed) {
        failed(event.fault);
    } else if (event.kind == Kind::Ended) {
        ended_ = true;
    }
}

void StartUp::failed(const toolkit::Fault& fault) {
    const auto com1 = trying_
                          ? projector::DeviceChoice::Device{trying_->device,
                                                            projector::DeviceChoice::Source::Mapped}
                          : choice_.deviceFor(1);
    const std::string text = startUpFailure(fault, com1);
    if (failure_) failure_(text);
    // The end of the program closes the box or the menu: it has said why.
    for (;;) {
        const bool quit = box_.choose(text, {kChooseDevice, kQuit}) != 0;
        if (ended_) return;
        if (quit) break;
        const auto picked = menu_.pick(1);
        if (ended_) return;
        if (picked) {
            trying_ = picked;
            port_.setDevice(1, picked->device);
            begin();  // Started or StartFailed say how it went
            return;
        }
    }
    gaveUp_ = true;
    port_.shutDown("the panel could not open its port at start-up");
    window_.unload();
}

}  // namespace panel
