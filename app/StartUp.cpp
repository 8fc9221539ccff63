#include "app/StartUp.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/ExitStatus.h"

namespace app {

namespace {

int noDisplayStatus = kExitCannotStart;

std::vector<QString>& heldMessages() {
    static std::vector<QString> messages;
    return messages;
}

bool displayUnreachable() {
    for (const QString& message : heldMessages()) {
        if (message.contains("could not connect to display", Qt::CaseInsensitive)) return true;
    }
    return false;
}

void duringStart(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
    if (type == QtFatalMsg && !displayUnreachable()) {
        // Not the display: a platform plugin missing or broken, say. Qt knows.
        std::fputs("kr60p-panel: the window cannot be shown. Qt says:\n", stderr);
        heldMessages().push_back(message);
        for (const QString& said : heldMessages()) {
            std::fprintf(stderr, "  %s\n", said.simplified().toLocal8Bit().constData());
        }
        std::fflush(stderr);
        std::_Exit(noDisplayStatus);
    }
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

int logFailure(int argc, char* argv[], const std::string& reason) {
    std::fprintf(stderr, "kr60p-panel: %s\n", reason.c_str());
    const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                         qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (display) {
        watchForDisplay(kExitUsage);
        QApplication application(argc, argv);
        displayReady();
        QMessageBox box(QMessageBox::Critical, "KR60P CONTROL",
                        QString::fromStdString("The panel cannot start: " + reason));
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return kExitUsage;
}

}  // namespace app
