#include "SimulatorProcess.h"

#include <stdexcept>

#include "tests/support/PtyPeer.h"

SimulatorProcess::SimulatorProcess(const QStringList& options)
    : link_(options.contains("--listen") ? "" : folder_.filePath("projector").toStdString()) {
    process_.start(KR60P_SIM, link_.empty()
                                  ? options
                                  : QStringList{"--link", QString::fromStdString(link_)} + options);
    if (!process_.waitForStarted(10'000)) throw std::runtime_error("the simulator did not start");
    waitFor([this] {
        readLog();
        return !device_.empty();
    });
    if (device_.empty()) throw std::runtime_error("the simulator gave no device");
}

SimulatorProcess::~SimulatorProcess() {
    stop();
}

void SimulatorProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5'000)) process_.kill();
}

void SimulatorProcess::readLog() {
    pending_ += process_.readAllStandardOutput().toStdString();
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
        const std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (device_.empty()) {
            // The first line names the pseudo-terminal itself, or the address.
            device_ = link_.empty() ? line : link_;
            continue;
        }
        // "      1234 ms  <-  C09<CR>"
        const auto arrow = line.find("  <-  ");
        if (arrow != std::string::npos) commands_.push_back(line.substr(arrow + 6));
    }
}

std::vector<std::string> SimulatorProcess::commands() {
    readLog();
    return commands_;
}
