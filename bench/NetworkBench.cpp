// The panel behind a device server: ser2net on the loopback in front of a
// pseudo-terminal, against the same pseudo-terminal opened directly; and the
// panel left idle while the server is away. Prints rows 11 and 12 of the
// benchmark table.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

#include "Cost.h"
#include "Table.h"
#include "WirePeer.h"
#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"
#include "tests/support/NetworkPeers.h"

namespace names = panel::names;

namespace {

struct Panel {
    explicit Panel(const std::string& device) : form(tk, {{1, device}}) {
        form.Form_Load();
        waitFor([this] { return !form.port().starting(); });
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == names::Window) window = top;
        }
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window);
    }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    toolkit::qt::QtToolkit tk;
    panel::Form1 form;
    QWidget* window = nullptr;
};

// Click of "ON" to the first byte on the peer, 200 times: median and p99, ms.
std::pair<double, double> actionToWire(Panel& panel, WirePeer& peer) {
    std::vector<double> ms;
    for (int i = 0; i < 200; ++i) {
        peer.clear();
        const std::int64_t start = WirePeer::now();
        QTest::mouseClick(panel.button(names::PowerOn), Qt::LeftButton);
        if (!waitFor([&] { return !peer.lines().empty(); }, std::chrono::seconds(5))) break;
        ms.push_back(static_cast<double>(peer.lines().front().firstByte - start) / 1e6);
        runFor(2);
    }
    if (ms.size() < 200) return {NAN, NAN};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100]};
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    if (!Ser2net::installed()) {
        row(11, "action to wire through ser2net", "ser2net is not installed", "-", false);
        return 0;
    }
    WirePeer peer;
    std::pair<double, double> direct, raw, rfc2217;
    {
        Panel panel(peer.devicePath());
        direct = actionToWire(panel, peer);
    }
    for (const auto mode : {Ser2net::Mode::Raw, Ser2net::Mode::Rfc2217}) {
        Ser2net server(mode, peer.devicePath(), "19200n81");
        server.start();
        Panel panel(server.address());
        (mode == Ser2net::Mode::Raw ? raw : rfc2217) = actionToWire(panel, peer);
    }
    row(11, "action to wire through ser2net on the loopback, 200 clicks of \"ON\" each",
        format("tcp:// median %.3f ms, p99 %.3f ms; rfc2217:// median %.3f ms, p99 %.3f ms; the "
               "pseudo-terminal opened directly: median %.3f ms, p99 %.3f ms",
               raw.first, raw.second, rfc2217.first, rfc2217.second, direct.first, direct.second),
        "median < 2.08 ms (the line time of C00+CR at 19200)",
        raw.first < 2.083 && rfc2217.first < 2.083);

    // The server away: one connection attempt a second, each refused at
    // once, against the floor of the same window with an empty 1 Hz timer.
    Ser2net server(Ser2net::Mode::Raw, peer.devicePath(), "19200n81");
    server.start();
    Panel panel(server.address());
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->done(QMessageBox::Ok);
        }
    });
    closer.start();
    server.stop();
    waitFor([&] { return !panel.tk.serialPort().portOpen(); });
    runFor(500);
    closer.stop();
    const auto [awayMs, awayTimers] = idleCost(application, 10'000);
    server.start();
    waitFor([&] { return panel.tk.serialPort().portOpen(); });
    QTimer empty;
    empty.setInterval(1000);
    QObject::connect(&empty, &QTimer::timeout, [] {});
    empty.start();
    runFor(500);
    const auto [floorMs, floorTimers] = idleCost(application, 10'000);
    row(12, "idle while the device server is away: CPU time in 10 s",
        format("%.3f ms CPU, %d timer events; connected with an empty 1 Hz timer: %.3f ms, %d "
               "events",
               awayMs, awayTimers, floorMs, floorTimers),
        "at most one attempt a second; CPU < 10 ms (0.1 % of a core)",
        awayTimers <= 11 && awayMs < 10.0);
    return 0;
}
