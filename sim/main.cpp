// kr60p-sim: a projector on a pseudo-terminal, for trying the panel and for
// testing it without hardware.

#include <fcntl.h>
#include <getopt.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <string>

#include "sim/Projector.h"
#include "sim/Traffic.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) {
    stopRequested = 1;
}

struct Options {
    std::string link;
    sim::ProjectorTimes times;
    long delayMs = 0;
    std::size_t chunk = 0;
    long chunkGapMs = 20;
    bool silent = false;
    std::string unasked;
    long unaskedEveryMs = 1000;
    std::size_t garbage = 0;
    long hangUpAfter = 0;
    bool quiet = false;
};

void usage(std::FILE* to) {
    std::fputs(
        "Usage: kr60p-sim [OPTIONS]\n"
        "A KR60P projector on a pseudo-terminal. Prints the device path for the panel\n"
        "on its first line (use it with: kr60p-panel --com1 PATH), then one line per\n"
        "command received and per reply sent.\n\n"
        "  --link PATH          also make a symbolic link PATH to the device\n"
        "  --warm-up MS         warm-up time after ON (default 3000)\n"
        "  --cool-down MS       cooling time after OFF (default 3000)\n"
        "Faults:\n"
        "  --delay MS           answer each command MS later\n"
        "  --chunk N            send replies in pieces of N bytes ...\n"
        "  --chunk-gap MS       ... MS apart (default 20)\n"
        "  --silent             never answer\n"
        "  --unasked TEXT       send TEXT unasked ...\n"
        "  --unasked-every MS   ... every MS (default 1000)\n"
        "  --garbage N          put N random bytes in front of every reply\n"
        "  --hang-up-after N    hang up after N command lines, as an unplugged cable\n"
        "  --quiet              no traffic log\n"
        "  --help               this text\n",
        to);
}

long number(const char* text, const char* option) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0) {
        std::fprintf(stderr, "kr60p-sim: %s needs a whole number of 0 or more, not \"%s\"\n",
                     option, text);
        std::exit(2);
    }
    return value;
}

Options readOptions(int argc, char** argv) {
    enum {
        Link = 1,
        WarmUp,
        CoolDown,
        Delay,
        Chunk,
        ChunkGap,
        Silent,
        Unasked,
        UnaskedEvery,
        Garbage,
        HangUpAfter,
        Quiet,
        Help
    };
    static const option kOptions[] = {
        {"link", required_argument, nullptr, Link},
        {"warm-up", required_argument, nullptr, WarmUp},
        {"cool-down", required_argument, nullptr, CoolDown},
        {"delay", required_argument, nullptr, Delay},
        {"chunk", required_argument, nullptr, Chunk},
        {"chunk-gap", required_argument, nullptr, ChunkGap},
        {"silent", no_argument, nullptr, Silent},
        {"unasked", required_argument, nullptr, Unasked},
        {"unasked-every", required_argument, nullptr, UnaskedEvery},
        {"garbage", required_argument, nullptr, Garbage},
        {"hang-up-after", required_argument, nullptr, HangUpAfter},
        {"quiet", no_argument, nullptr, Quiet},
        {"help", no_argument, nullptr, Help},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    for (int c; (c = getopt_long(argc, argv, "", kOptions, nullptr)) != -1;) {
        const char* name = argv[optind - 1];
        switch (c) {
            case Link:
                o.link = optarg;
                break;
            case WarmUp:
                o.times.warmUpMs = number(optarg, name);
                break;
            case CoolDown:
                o.times.coolDownMs = number(optarg, name);
                break;
            case Delay:
                o.delayMs = number(optarg, name);
                break;
            case Chunk:
                o.chunk = static_cast<std::size_t>(number(optarg, name));
                break;
            case ChunkGap:
                o.chunkGapMs = number(optarg, name);
                break;
            case Silent:
                o.silent = true;
                break;
            case Unasked:
                o.unasked = optarg;
                break;
            case UnaskedEvery:
                o.unaskedEveryMs = std::max(1L, number(optarg, name));
                break;
            case Garbage:
                o.garbage = static_cast<std::size_t>(number(optarg, name));
                break;
            case HangUpAfter:
                o.hangUpAfter = number(optarg, name);
                break;
            case Quiet:
                o.quiet = true;
                break;
            case Help:
                usage(stdout);
                std::exit(0);
            default:
                usage(stderr);
                std::exit(2);
        }
    }
    if (optind < argc) {
        std::fprintf(stderr, "kr60p-sim: unexpected argument \"%s\"\n", argv[optind]);
        std::exit(2);
    }
    return o;
}

std::int64_t nowMs() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
}

struct Pending {
    std::int64_t due;
    std::string bytes;
};

class Simulator {
  public:
    explicit Simulator(Options options) : o_(std::move(options)), projector_(o_.times) {}
    int run();

  private:
    void log(const char* direction, const std::string& bytes) {
        if (o_.quiet) return;
        std::printf("%10lld ms  %s  %s\n", static_cast<long long>(nowMs()), direction,
                    sim::printable(bytes).c_str());
        std::fflush(stdout);
    }
    void received(const std::string& line);
    void sendDue();
    void cleanUp();

    Options o_;
    sim::Projector projector_;
    int master_ = -1;
    std::string line_;
    long lines_ = 0;
    std::deque<Pending> pending_;
    std::int64_t nextUnasked_ = 0;
    std::mt19937 random_{20261207};
    bool hungUp_ = false;
};

void Simulator::received(const std::string& line) {
    ++lines_;
    log("<-", line + '\r');
    if (o_.hangUpAfter > 0 && lines_ >= o_.hangUpAfter) {
        hungUp_ = true;
        return;
    }
    if (o_.silent) return;
    auto reply = projector_.answer(line, nowMs());
    if (!reply) return;
    std::string bytes;
    for (std::size_t i = 0; i < o_.garbage; ++i) bytes += static_cast<char>(random_() & 0xFF);
    bytes += *reply;
    std::int64_t due = std::max(nowMs() + o_.delayMs, pending_.empty() ? 0 : pending_.back().due);
    for (const std::string& chunk : sim::chunksOf(bytes, o_.chunk)) {
        pending_.push_back({due, chunk});
        due += o_.chunkGapMs;
    }
}

void Simulator::sendDue() {
    while (!pending_.empty() && pending_.front().due <= nowMs()) {
        const std::string& bytes = pending_.front().bytes;
        if (::write(master_, bytes.data(), bytes.size()) > 0) log("->", bytes);
        pending_.pop_front();
    }
    if (!o_.unasked.empty() && nowMs() >= nextUnasked_) {
        if (::write(master_, o_.unasked.data(), o_.unasked.size()) > 0) log("->", o_.unasked);
        nextUnasked_ = nowMs() + o_.unaskedEveryMs;
    }
}

void Simulator::cleanUp() {
    if (!o_.link.empty()) ::unlink(o_.link.c_str());
    if (master_ >= 0) ::close(master_);
}

int Simulator::run() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        std::perror("kr60p-sim: cannot open a pseudo-terminal");
        return 1;
    }
    const std::string device = ::ptsname(master_);
    // Raw from the start: no echo, no line editing, CR left alone.
    if (const int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY); slave >= 0) {
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
    }
    if (!o_.link.empty()) {
        ::unlink(o_.link.c_str());
        if (::symlink(device.c_str(), o_.link.c_str()) != 0) {
            std::fprintf(stderr, "kr60p-sim: cannot make the link %s: %s\n", o_.link.c_str(),
                         std::strerror(errno));
            cleanUp();
            return 1;
        }
    }
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);

    // The peer counts as gone when its end has stayed closed this long after
    // it was first opened: long enough for the panel to close and reopen.
    constexpr std::int64_t kGoneAfterMs = 2000;
    bool connected = false;
    std::int64_t closedSince = -1;

    while (!stopRequested && !hungUp_) {
        int timeout = 100;
        if (!pending_.empty())
            timeout =
                static_cast<int>(std::clamp<std::int64_t>(pending_.front().due - nowMs(), 0, 100));
        if (!o_.unasked.empty())
            timeout =
                static_cast<int>(std::clamp<std::int64_t>(nextUnasked_ - nowMs(), 0, timeout));
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (p.revents & POLLHUP)) {
            // Nobody has the device open: wait without spinning.
            if (connected && closedSince < 0) closedSince = nowMs();
            if (connected && nowMs() - closedSince >= kGoneAfterMs) break;
            pending_.clear();
            ::poll(nullptr, 0, 50);
            continue;
        }
        connected = true;
        closedSince = -1;
        if (ready > 0 && (p.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == '\r') {
                    received(line_);
                    line_.clear();
                    if (hungUp_) break;
                } else {
                    line_ += buffer[i];
                }
            }
        }
        if (!hungUp_) sendDue();
    }
    if (hungUp_ && !o_.quiet) std::printf("%10lld ms  hung up\n", static_cast<long long>(nowMs()));
    cleanUp();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    nowMs();  // the log counts from the start
    Options options = readOptions(argc, argv);
    struct sigaction action {};
    action.sa_handler = requestStop;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return Simulator(std::move(options)).run();
}
