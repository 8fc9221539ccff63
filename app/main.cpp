#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/ExitStatus.h"
#include "app/Options.h"
#include "app/PanelProgram.h"
#include "app/PortList.h"
#include "app/ProgramStart.h"
#include "app/Signals.h"
#include "app/StartUp.h"
#include "qt/QtSerialDevices.h"
#include "qt/QtSettings.h"

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
    if (options.exitText) return app::exitWith(*options.exitText, options.exitStatus);
    if (options.listPorts) return listPorts(argc, argv, options);
    const app::LogOpening log = app::openTrafficLog(options.log);
    if (log.failure) return app::logFailure(argc, argv, *log.failure);
    std::FILE* logFile = log.file;

    app::watchForDisplay();
    QApplication application(argc, argv);
    app::displayReady();
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    std::optional<app::PanelProgram> program;
    try {
        program.emplace(options, logFile);
    } catch (const panel::TableError& error) {
        std::fprintf(stderr, "kr60p-panel: the window cannot be built: %s\n", error.what());
        return app::kExitCannotStart;
    }
    panel::Form1& form = program->form();
    const app::EndOnSignals endOnSignals([&form](const std::string& why) { form.end(why); });

    form.Form_Load();
    if (form.ended()) return form.exitStatus();
    const int status = QApplication::exec();
    return form.exitStatus() != 0 ? form.exitStatus() : status;
}
