#pragma once
// The projector simulator as a child process, with its traffic log.

#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

class SimulatorProcess {
  public:
    explicit SimulatorProcess(const QStringList& options = {});
    ~SimulatorProcess();

    const std::string& devicePath() const { return device_; }
    // The commands it has received so far, from its log, in order.
    std::vector<std::string> commands();
    bool running() const { return process_.state() == QProcess::Running; }

  private:
    void readLog();
    QProcess process_;
    std::string device_;
    std::string pending_;
    std::vector<std::string> commands_;
};
