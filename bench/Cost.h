#pragma once
// What a run costs: this process's resident set, CPU time, and the timer
// events its event loop handles.

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>

inline long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// CLOCK_PROCESS_CPUTIME_ID for the whole process, CLOCK_THREAD_CPUTIME_ID
// for the calling thread alone.
inline double cpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Installed on the application, counts every timer event.
class TimerCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) ++count;
        return false;
    }
};

// The event thread's CPU time (ms) and the timer events over an idle period.
inline std::pair<double, int> idleCost(QCoreApplication& application, int ms) {
    TimerCounter timers;
    application.installEventFilter(&timers);
    const double before = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    QEventLoop idle;
    QTimer::singleShot(ms, &idle, &QEventLoop::quit);
    idle.exec();
    application.removeEventFilter(&timers);
    return {cpuMs(CLOCK_THREAD_CPUTIME_ID) - before, timers.count - 1};
}
