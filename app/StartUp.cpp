#include "app/StartUp.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace app {

namespace {

using Source = projector::DeviceChoice::Source;

int noDisplayStatus = 1;

std::vector<QString>& heldMessages() {
    static std::vector<QString> messages;
    return messages;
}

void duringStart(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        if (display && *display) {
            std::fprintf(stderr,
                         "kr60p-panel: cannot connect to the display %s: is its display server "
                         "running?\n",
                         display);
        } else {
            std::fputs("kr60p-panel: cannot connect to a display: DISPLAY is not set.\n", stderr);
        }
        std::fflush(stderr);
        std::_Exit(noDisplayStatus);
    }
    heldMessages().push_back(message);
}

}  // namespace

void watchForDisplay(int exitStatus) {
    noDisplayStatus = exitStatus;
    qInstallMessageHandler(duringStart);
}

void displayReady() {
    qInstallMessageHandler(nullptr);
    for (const QString& message : heldMessages()) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
    heldMessages().clear();
}

std::string startUpFailure(const std::string& reason, const projector::DeviceChoice::Device& com1) {
    std::string hint;
    switch (com1.source) {
        case Source::CommandLine:
            hint =
                "To use another device, start the panel with --com1 PATH, for example --com1 "
                "/dev/ttyUSB0. kr60p-panel --list-ports shows the devices present.";
            break;
        case Source::Mapped:
            hint = "COM1 stands for " + com1.path +
                   " because it was chosen from the window. To choose another device, start "
                   "the panel with --com1 PATH (for example --com1 /dev/ttyUSB0), then "
                   "right-click COM1 under COM and choose the device, or Default. "
                   "kr60p-panel --list-ports shows the devices present.";
            break;
        case Source::Adapter:
        case Source::BuiltIn:
            hint = "COM1 stands for " + com1.path +
                   (com1.source == Source::Adapter ? ", the first USB serial adapter present"
                                                   : ", as no USB serial adapter was found") +
                   ". Plug in the adapter, or start the panel with --com1 PATH, for example "
                   "--com1 /dev/ttyUSB0. kr60p-panel --list-ports shows the devices present.";
            break;
    }
    return "The panel cannot start.\n\n" + reason + "\n\n" + hint;
}

int logFailure(int argc, char* argv[], const std::string& reason) {
    std::fprintf(stderr, "kr60p-panel: %s\n", reason.c_str());
    const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                         qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (display) {
        watchForDisplay(2);
        QApplication application(argc, argv);
        displayReady();
        QMessageBox box(QMessageBox::Critical, "KR60P CONTROL",
                        QString::fromStdString("The panel cannot start: " + reason));
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return 2;
}

}  // namespace app
