#pragma once
// The projector simulator as a child process, with its traffic log. On a
// pseudo-terminal, the panel opens it through a symbolic link in a folder of
// the test's own, which goes with the simulator: no other program's
// pseudo-terminal can ever stand in for it. With --listen, the device is the
// address it listens on.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

class SimulatorProcess {
  public:
    explicit SimulatorProcess(const QStringList& options = {});
    ~SimulatorProcess();

    const std::string& devicePath() const { return device_; }
    void stop();
    // The commands it has received so far, from its log, in order.
    std::vector<std::string> commands();
    bool running() const { return process_.state() == QProcess::Running; }

  private:
    void readLog();
    QTemporaryDir folder_;
    QProcess process_;
    std::string link_;
    std::string device_;
    std::string pending_;
    std::vector<std::string> commands_;
};
