#pragma once
// A row of the benchmark table, and the event loop run for a while.

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <string>

inline void row(int number, const std::string& what, const std::string& measured,
                const std::string& goal, bool met) {
    std::printf("| %d | %s | %s | %s | %s |\n", number, what.c_str(), measured.c_str(),
                goal.c_str(), met ? "met" : "MISSED");
    std::fflush(stdout);
}

inline std::string format(const char* pattern, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

inline void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
