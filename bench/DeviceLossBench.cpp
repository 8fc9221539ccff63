// A device path unplugged and plugged in again a hundred times, as a symbolic
// link re-pointed at a fresh pseudo-terminal, and the panel left idle with
// its device gone. Prints rows 9 and 10 of the benchmark table.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <filesystem>
#include <memory>

#include "Cost.h"
#include "Table.h"
#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"
#include "tests/support/PtyPeer.h"

namespace {

long openFiles() {
    return static_cast<long>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                           std::filesystem::directory_iterator()));
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    const QTemporaryDir folder;
    const std::string link = folder.filePath("ttyUSB-projector").toStdString();
    auto device = std::make_unique<PtyPeer>();
    const auto plugIn = [&] {
        device = std::make_unique<PtyPeer>();
        ::unlink(link.c_str());
        return ::symlink(device->devicePath().c_str(), link.c_str()) == 0;
    };
    plugIn();

    toolkit::qt::QtToolkit tk;
    panel::Form1 form(tk, {{1, link}});
    form.Form_Load();
    form.window().show();

    // Every warning box is closed as it comes, and counted.
    int boxes = 0;
    QTimer closer;
    closer.setInterval(2);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->done(QMessageBox::Ok);
        }
    });
    closer.start();
    runFor(200);

    const auto waitUntil = [](const std::function<bool()>& condition) {
        for (int i = 0; i < 5000 && !condition(); ++i) runFor(1);
        return condition();
    };
    constexpr int kCycles = 100;
    long filesBefore = 0, residentBefore = 0;
    int reconnects = 0;
    bool oneBoxEach = true;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        device.reset();
        ::unlink(link.c_str());
        oneBoxEach = waitUntil([&] { return boxes == cycle; }) && oneBoxEach;
        if (!plugIn()) break;
        if (waitUntil([&] { return tk.serialPort().portOpen(); })) ++reconnects;
        if (cycle == 1) {
            filesBefore = openFiles();
            residentBefore = residentKiB();
        }
    }
    const long filesGrew = openFiles() - filesBefore;
    const long residentGrew = residentKiB() - residentBefore;
    row(9, format("replug: the device path removed and re-pointed %d times", kCycles),
        format("%d warning boxes, %d reconnects; after the first, open files grew by %ld, the "
               "resident set by %ld KiB",
               boxes, reconnects, filesGrew, residentGrew),
        "one box and one reconnect each; no growth of open files; resident set < 512 KiB",
        oneBoxEach && boxes == kCycles && reconnects == kCycles && filesGrew <= 0 &&
            residentGrew < 512);

    // Lost: how busy is the panel while it looks for the device once a
    // second? Against the floor: the same window, connected, with an empty
    // timer waking it as often.
    const auto cpuOver10s = [&application] {
        runFor(500);
        return idleCost(application, 10'000);
    };
    device.reset();
    ::unlink(link.c_str());
    waitUntil([&] { return boxes == kCycles + 1; });
    closer.stop();
    const auto [lostMs, lostTimers] = cpuOver10s();
    plugIn();
    waitUntil([&] { return tk.serialPort().portOpen(); });
    QTimer empty;
    empty.setInterval(1000);
    QObject::connect(&empty, &QTimer::timeout, [] {});
    empty.start();
    const auto [floorMs, floorTimers] = cpuOver10s();
    row(10, "idle while the device is lost: CPU time in 10 s",
        format("%.3f ms CPU, %d timer events; connected with an empty 1 Hz timer: %.3f ms, %d "
               "events",
               lostMs, lostTimers, floorMs, floorTimers),
        "at most one check a second; CPU <= 1.5 x the empty timer's + 1 ms",
        lostTimers <= 11 && lostMs <= 1.5 * floorMs + 1.0);
    return 0;
}
