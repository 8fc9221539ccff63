// The panel's speed and cost on the real window (offscreen), the real
// QSerialPort and a pseudo-terminal peer that time-stamps every line, and
// against an empty Qt window started the same way. Prints rows 2 to 8 of the
// benchmark table.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Cost.h"
#include "Table.h"
#include "WirePeer.h"
#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"

namespace names = panel::names;

namespace {

using Clock = std::chrono::steady_clock;

struct Stats {
    double median, p99, max;
};

// Milliseconds from one CLOCK_MONOTONIC time in ns to a later one.
double msBetween(std::int64_t from, std::int64_t to) {
    return static_cast<double>(to - from) / 1e6;
}

Stats statsOf(std::vector<double> values) {
    if (values.empty()) return {NAN, NAN, NAN};
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1,
                               static_cast<std::size_t>(q * static_cast<double>(values.size())))];
    };
    return {at(0.5), at(0.99), values.back()};
}

bool spinUntil(const std::function<bool()>& condition, int deadlineMs = 5000) {
    const auto until = Clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (Clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

struct Panel {
    explicit Panel(const std::string& device) : form(tk, {{1, device}}) {
        form.Form_Load();
        form.window().show();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == names::Window) window = top;
        }
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window);
    }
    template <typename T = QPushButton>
    T* find(const char* name) {
        return window->findChild<T*>(name);
    }
    QPushButton* button(const char* name) { return find(name); }
    // A press and release of "SELECT" empties the receive buffer, as any
    // release does; the peer does not answer it.
    void emptyReceiveBuffer() {
        QTest::mousePress(button(names::Select), Qt::LeftButton);
        QTest::mouseRelease(button(names::Select), Qt::LeftButton);
    }
    toolkit::qt::QtToolkit tk;
    panel::Form1 form;
    QWidget* window = nullptr;
};

// Row 2: holds a button for five seconds; intervals between the lines.
void repeatAccuracy(Panel& panel, WirePeer& peer, const char* control, const char* code,
                    double nominalMs, const char* what) {
    peer.clear();
    QTest::mousePress(panel.button(control), Qt::LeftButton);
    runFor(5000);
    QTest::mouseRelease(panel.button(control), Qt::LeftButton);
    runFor(100);
    const auto lines = peer.lines();
    std::vector<double> deviations;
    bool allRight = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        allRight = allRight && lines[i].text == code;
        if (i > 0)
            deviations.push_back(
                std::fabs(msBetween(lines[i - 1].firstByte, lines[i].firstByte) - nominalMs));
    }
    const double span =
        lines.size() > 1 ? msBetween(lines.front().firstByte, lines.back().firstByte) : 0;
    const long expectedLines = std::lround(span / nominalMs) + 1;
    const bool noneLost = allRight && static_cast<long>(lines.size()) == expectedLines;
    const Stats s = statsOf(deviations);
    row(2, format("repeat accuracy, %s every %.0f ms, 5 s", what, nominalMs),
        format("%zu lines (%ld expected), |interval - nominal| median %.3f ms, p99 %.3f ms, max "
               "%.3f ms",
               lines.size(), expectedLines, s.median, s.p99, s.max),
        "none lost or merged; median < 0.5 ms, p99 < 2 ms",
        noneLost && s.median < 0.5 && s.p99 < 2.0);
}

// Row 3: press and release of "ON" to the first byte readable on the peer.
void actionToWire(Panel& panel, WirePeer& peer) {
    std::vector<double> latencies;
    for (int i = 0; i < 200; ++i) {
        peer.clear();
        const std::int64_t start = WirePeer::now();
        QTest::mouseClick(panel.button(names::PowerOn), Qt::LeftButton);
        if (!spinUntil([&] { return !peer.lines().empty(); })) break;
        latencies.push_back(msBetween(start, peer.lines().front().firstByte));
    }
    const Stats s = statsOf(latencies);
    row(3, "action to wire: click of \"ON\" to the first byte on the peer, 200 times",
        format("median %.3f ms, p99 %.3f ms (line time of C00+CR at 19200: 2.083 ms)", s.median,
               s.p99),
        "median < 0.52 ms, p99 < 2.08 ms",
        latencies.size() == 200 && s.median < 0.52 && s.p99 < 2.083);
}

// Row 4: the peer answers "00"+CR to "CR0" at once; until " Power ON" shows.
void replyToWords(Panel& panel, WirePeer& peer) {
    peer.autoReply("CR0", "00\r");
    auto* label22 = panel.find<QLabel>(names::StatusText);
    std::vector<double> latencies;
    for (int i = 0; i < 200; ++i) {
        panel.emptyReceiveBuffer();
        label22->setText("");
        const std::int64_t before = peer.lastReplyAt();
        QTest::mouseClick(panel.button(names::StatusQuery), Qt::LeftButton);
        if (!spinUntil([&] { return label22->text() == " Power ON"; })) break;
        const std::int64_t shown = WirePeer::now();
        if (peer.lastReplyAt() == before) break;
        latencies.push_back(msBetween(peer.lastReplyAt(), shown));
    }
    peer.autoReply("", "");
    const Stats s = statsOf(latencies);
    row(4, "reply to words: peer writes 00+CR, until Label22 reads \" Power ON\", 200 times",
        format("median %.3f ms, p99 %.3f ms", s.median, s.p99), "median < 1 ms, p99 < 5 ms",
        latencies.size() == 200 && s.median < 1.0 && s.p99 < 5.0);
}

// Row 8: a megabyte of unasked bytes as fast as the peer can write them.
void flood(Panel& panel, WirePeer& peer) {
    panel.emptyReceiveBuffer();
    const long before = residentKiB();
    double worstLateMs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    auto last = Clock::now();
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        worstLateMs = std::max(
            worstLateMs, std::chrono::duration<double, std::milli>(now - last).count() - 10.0);
        last = now;
    });
    probe.start();
    peer.flood(std::string(1 << 20, 'A'));
    runFor(20);
    spinUntil([&] { return !peer.flooding(); }, 60'000);
    runFor(200);
    probe.stop();
    const long growth = residentKiB() - before;
    const bool alive = panel.find<QLabel>(names::ReceivedTrace)->text().size() == 1 + 2 * 32767 &&
                       panel.window->isVisible();
    row(8, "flood: 1 MiB of unasked bytes",
        format(
            "kept running: %s; resident set grew %ld KiB; 10 ms probe timer at most %.1f ms late",
            alive ? "yes" : "NO", growth, worstLateMs),
        "keeps running; growth < 4096 KiB; lateness <= 50 ms",
        alive && growth < 4096 && worstLateMs <= 50);
}

struct ProbeResult {
    double startMs = 0;
    long rssKiB = 0;
    double idleCpuMs = -1;
    int timerEvents = -1;
};

ProbeResult runProbe(const std::string& probe, const std::string& mode, const std::string& device,
                     int idle) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string idleText = std::to_string(idle);
    std::vector<char*> args{const_cast<char*>(probe.c_str()), const_cast<char*>(mode.c_str()),
                            const_cast<char*>(device.c_str()), const_cast<char*>(idleText.c_str()),
                            nullptr};
    pid_t child = 0;
    const std::int64_t start = WirePeer::now();
    if (posix_spawn(&child, probe.c_str(), &actions, nullptr, args.data(), environ) != 0) return {};
    ::close(pipeFds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);

    ProbeResult result;
    long long shown = 0;
    std::sscanf(output.c_str(), "shown_ns=%lld rss_kib=%ld", &shown, &result.rssKiB);
    result.startMs = msBetween(start, shown);
    const auto idleAt = output.find("idle_cpu_ms=");
    if (idleAt != std::string::npos) {
        std::sscanf(output.c_str() + idleAt, "idle_cpu_ms=%lf timer_events=%d", &result.idleCpuMs,
                    &result.timerEvents);
    }
    return result;
}

// Rows 5, 6 and 7: the panel against an empty Qt window, runs interleaved.
// A window with one line in each of the panel's fonts is measured too: the
// floor for any window that shows Japanese text.
void startUpMemoryIdle(const std::string& probe) {
    // The plain windows' probe beside the panel's, linking only what they show.
    const std::string windowProbe = probe.substr(0, probe.rfind('/') + 1) + "bench_window_probe";
    WirePeer peer;
    struct Runs {
        const char* mode;
        std::vector<double> startMs;
        long rssKiB = 0;
    };
    std::array<Runs, 3> runs{{{"panel", {}}, {"empty", {}}, {"text", {}}}};
    for (int i = 0; i < 10; ++i) {
        for (Runs& r : runs) {
            const ProbeResult result = runProbe(
                r.mode == std::string("panel") ? probe : windowProbe, r.mode, peer.devicePath(), 0);
            r.startMs.push_back(result.startMs);
            r.rssKiB = std::max(r.rssKiB, result.rssKiB);
        }
    }
    const double panel = statsOf(runs[0].startMs).median, empty = statsOf(runs[1].startMs).median,
                 text = statsOf(runs[2].startMs).median;
    row(5, "start-up: process start to window shown (offscreen), 10 runs each, interleaved",
        format("panel median %.1f ms; a window of its size showing text in the same two fonts "
               "%.1f ms, ratio %.2f; an empty Qt window %.1f ms, ratio %.2f",
               panel, text, panel / text, empty, panel / empty),
        "ratio to the window with text <= 1.15", panel / text <= 1.15);
    const auto ratio = [](long a, long b) {
        return static_cast<double>(a) / static_cast<double>(b);
    };
    row(6, "memory: resident set after start-up",
        format("panel %ld KiB; the window with text %ld KiB, ratio %.2f; an empty Qt window %ld "
               "KiB, ratio %.2f",
               runs[0].rssKiB, runs[2].rssKiB, ratio(runs[0].rssKiB, runs[2].rssKiB),
               runs[1].rssKiB, ratio(runs[0].rssKiB, runs[1].rssKiB)),
        "ratio to the window with text <= 1.05", ratio(runs[0].rssKiB, runs[2].rssKiB) <= 1.05);
    const ProbeResult idle = runProbe(probe, "panel", peer.devicePath(), 10);
    row(7, "idle: CPU time in 10 s with no action after start-up",
        format("%.3f ms CPU, %d timer events", idle.idleCpuMs, idle.timerEvents),
        "< 5 ms; no timer runs",
        idle.idleCpuMs >= 0 && idle.idleCpuMs < 5.0 && idle.timerEvents == 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string probe = argc > 1 ? argv[1] : "";
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    {
        WirePeer peer;
        Panel panel(peer.devicePath());
        repeatAccuracy(panel, peer, names::BrightnessUp, "C20", 50, "Brightness \"+\"");
        repeatAccuracy(panel, peer, names::VolumeUp, "C09", 250, "VOL \"+\"");
        // An arrow after a D.Zoom release repeats at 5 ms.
        QTest::mouseClick(panel.button(names::ZoomUp), Qt::LeftButton);
        runFor(50);
        repeatAccuracy(panel, peer, names::CursorUp, "C3C", 5, "\"up\" after a D.Zoom release");
        actionToWire(panel, peer);
        replyToWords(panel, peer);
        flood(panel, peer);
    }
    if (!probe.empty()) startUpMemoryIdle(probe);
    return 0;
}
