#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/Options.h"
#include "app/PortList.h"
#include "app/Signals.h"
#include "app/StartUp.h"
#include "log/TrafficLog.h"
#include "panel/Form1.h"
#include "qt/QtSerialDevices.h"
#include "qt/QtSettings.h"
#include "qt/QtToolkit.h"

namespace {

int listPorts(int argc, char* argv[], const app::Options& options) {
    QCoreApplication application(argc, argv);
    toolkit::qt::QtSerialDevices devices;
    toolkit::qt::QtSettings settings;
    const projector::DeviceChoice choice(settings, devices, options.devices);
    std::fputs(app::portList(devices.present(), choice).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const app::Options options = app::readOptions(std::vector<std::string>(argv, argv + argc));
    if (options.exitText) {
        std::fputs(options.exitText->c_str(), options.exitStatus == 0 ? stdout : stderr);
        return options.exitStatus;
    }
    if (options.listPorts) return listPorts(argc, argv, options);
    std::FILE* logFile = nullptr;
    if (options.log) {
        try {
            logFile = trafficlog::openLog(*options.log);
        } catch (const std::runtime_error& error) {
            return app::logFailure(argc, argv, error.what());
        }
    }

    app::watchForDisplay();
    QApplication application(argc, argv);
    app::displayReady();
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    toolkit::qt::QtToolkit toolkit;
    // A log that cannot be written any more says so once, in a box shown from
    // the event loop, and the panel goes on without it.
    std::optional<trafficlog::TrafficLog> log;
    std::vector<projector::LinkListener*> listeners;
    if (logFile) {
        log.emplace(logFile, [&toolkit](const std::string& text) {
            QTimer::singleShot(0, qApp, [&toolkit, text] { toolkit.messageBox().warn(text); });
        });
        listeners.push_back(&*log);
    }
    std::optional<panel::Form1> built;
    try {
        built.emplace(toolkit, options.devices, listeners);
    } catch (const panel::TableError& error) {
        std::fprintf(stderr, "kr60p-panel: the window cannot be built: %s\n", error.what());
        return 1;
    }
    panel::Form1& form = *built;
    if (log) {
        log->started("kr60p-panel " PANEL_VERSION, form.devices().deviceFor(1).path,
                     form.devices().deviceFor(2).path);
        form.onWarningShown([&log](const std::string& text) { log->warningShown(text); });
    }
    form.onStartFailure([](const std::string& text) {
        std::fprintf(stderr, "kr60p-panel: %s\n", text.c_str());
        std::fflush(stderr);
    });
    const app::EndOnSignals endOnSignals([&form](const std::string& why) { form.end(why); });

    form.Form_Load();
    if (form.ended()) return form.exitStatus();
    const int status = QApplication::exec();
    return form.exitStatus() != 0 ? form.exitStatus() : status;
}
