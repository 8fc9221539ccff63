#include "app/PanelProgram.h"

#include <QApplication>
#include <QTimer>
#include <vector>

namespace app {

PanelProgram::PanelProgram(const Options& options, std::FILE* log) {
    std::vector<projector::LinkListener*> listeners;
    if (log) {
        // A log that cannot be written any more says so once, in a box shown
        // from the event loop, and the panel goes on without it.
        log_.emplace(log, [this](const std::string& text) {
            QTimer::singleShot(0, qApp, [this, text] { toolkit_.messageBox().warn(text); });
        });
        listeners.push_back(&*log_);
    }
    form_.emplace(toolkit_, options.devices, listeners);
    if (log_) {
        log_->started("kr60p-panel " PANEL_VERSION, form_->devices().deviceFor(1).path,
                      form_->devices().deviceFor(2).path);
        form_->onWarningShown([this](const std::string& text) { log_->warningShown(text); });
    }
    form_->onStartFailure([](const std::string& text) {
        std::fprintf(stderr, "kr60p-panel: %s\n", text.c_str());
        std::fflush(stderr);
    });
}

}  // namespace app
