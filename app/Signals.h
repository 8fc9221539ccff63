#pragma once
// SIGTERM (a log-out, kill, systemctl stop), SIGHUP (the terminal closed) and
// SIGINT (Ctrl+C) end the program in order, as "END" does: the handler only
// writes the signal's number to a pipe, which the event loop reads.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace app {

class EndOnSignals {
  public:
    // end: told, on the event thread, why the program is asked to end.
    explicit EndOnSignals(std::function<void(const std::string&)> end);
    ~EndOnSignals();
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

  private:
    std::function<void(const std::string&)> end_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
