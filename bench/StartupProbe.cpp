// Starts either the panel or an empty Qt window exactly as a program would,
// and reports when the window was shown, the resident set then, and
// optionally the CPU time and timer events of an idle period after it.
//
//   bench_startup_probe panel|empty|text DEVICE IDLE_SECONDS
//
// "text" is the empty window with one line in each of the panel's two fonts:
// the floor for any window that shows Japanese text. Built twice: with the
// panel (bench_startup_probe, PROBE_PANEL), and linking only what the plain
// windows show (bench_window_probe), so that the panel's libraries are the
// panel's cost.

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "Cost.h"
#ifdef PROBE_PANEL
#include "panel/ControlNames.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"
#endif

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const std::string mode = argv[1];
    const int idleSeconds = std::stoi(argv[3]);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    std::unique_ptr<QWidget> empty;
    QWidget* shown = nullptr;
#ifdef PROBE_PANEL
    std::unique_ptr<toolkit::qt::QtToolkit> toolkit;
    std::unique_ptr<panel::Form1> form;
    if (mode != "panel") return 2;
    {
        toolkit = std::make_unique<toolkit::qt::QtToolkit>();
        form = std::make_unique<panel::Form1>(*toolkit, std::map<int, std::string>{{1, argv[2]}});
        form->Form_Load();
        form->window().show();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == panel::names::Window) shown = top;
        }
    }
#else
    {
        empty = std::make_unique<QWidget>();
        empty->resize(633, 327);
        if (mode == "text") {
            for (const char* family : {"IPAGothic", "IPAPGothic"}) {
                auto* line = new QLabel("データを表示する ORVA KR60P", empty.get());
                line->setFont(QFont(family, 9));
                line->move(0, family[3] == 'P' ? 20 : 0);
            }
        }
        empty->show();
        shown = empty.get();
    }
#endif
    if (!QTest::qWaitForWindowExposed(shown)) return 1;
    const auto shownAt = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    std::printf("shown_ns=%lld rss_kib=%ld\n", static_cast<long long>(shownAt), residentKiB());

    if (idleSeconds > 0) {
        // Let the first paint settle before the idle period is measured.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
        TimerCounter timers;
        application.installEventFilter(&timers);
        const double before = cpuMs();
        QEventLoop idle;
        QTimer::singleShot(idleSeconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
        std::printf("idle_cpu_ms=%.3f timer_events=%d\n", cpuMs() - before, timers.count - 1);
    }
    std::fflush(stdout);
    return 0;
}
