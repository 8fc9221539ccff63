#include "tests/support/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>
#include <stdexcept>

PtyPeer::PtyPeer() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) throw std::runtime_error("openpty");
    path_ = name;
    char folder[] = "/tmp/pty-peer-XXXXXX";
    if (::mkdtemp(folder) == nullptr) throw std::runtime_error("mkdtemp");
    folder_ = folder;
    link_ = folder_ + "/tty";
    if (::symlink(path_.c_str(), link_.c_str()) != 0) throw std::runtime_error("symlink");
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPeer::~PtyPeer() {
    hangUp();
    ::rmdir(folder_.c_str());
}

void PtyPeer::write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            // The panel reads on this same thread: let it, then try again.
            QCoreApplication::processEvents();
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 1);
        }
    }
}

std::string PtyPeer::readAvailable() {
    std::string got;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

void PtyPeer::hangUp() {
    ::unlink(link_.c_str());
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

bool waitUntilReceived(PtyPeer& peer, std::string& received, const std::string& bytes) {
    return waitFor([&] {
        received += peer.readAvailable();
        return received.find(bytes) != std::string::npos;
    });
}
