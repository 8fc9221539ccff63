#include "app/Signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace app {

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
int pipeEnds[2] = {-1, -1};

void onSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

std::string why(int number) {
    switch (number) {
        case SIGTERM:
            return "SIGTERM: asked to stop (a log-out, kill, systemctl stop)";
        case SIGHUP:
            return "SIGHUP: its terminal was closed";
        case SIGINT:
            return "SIGINT: interrupted (Ctrl+C)";
        default:
            return "signal " + std::to_string(number);
    }
}

}  // namespace

EndOnSignals::EndOnSignals(std::function<void(const std::string&)> end,
                           std::function<void()> reload)
    : end_(std::move(end)), reload_(std::move(reload)) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        while (::read(pipeEnds[0], &byte, 1) == 1) {
            if (byte == SIGHUP && reload_) {
                reload_();
            } else {
                end_(why(byte));
            }
        }
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) ::sigaction(number, &action, nullptr);
}

EndOnSignals::~EndOnSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int number : kSignals) ::sigaction(number, &action, nullptr);
    notifier_.reset();
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace app
