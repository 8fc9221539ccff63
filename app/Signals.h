#pragma once
// SIGTERM (a log-out, kill, systemctl stop), SIGHUP (the terminal closed) and
// SIGINT (Ctrl+C) end the program in order, as "END" does: the handler only
// writes the signal's number to a pipe, which the event loop reads. A
// service may take SIGHUP as systemctl reload and logrotate mean it: read
// the configuration again.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace app {

class EndOnSignals {
  public:
    // end: told, on the event thread, why the program is asked to end;
    // reload, where given, is told of SIGHUP instead.
    explicit EndOnSignals(std::function<void(const std::string&)> end,
                          std::function<void()> reload = {});
    ~EndOnSignals();
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

  private:
    std::function<void(const std::string&)> end_;
    std::function<void()> reload_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
