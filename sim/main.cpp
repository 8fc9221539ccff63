// kr60p-sim: a projector on a pseudo-terminal, for trying the panel and for
// testing it without hardware.

#include <csignal>

#include "sim/Options.h"
#include "sim/Simulator.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

}  // namespace

int main(int argc, char** argv) {
    sim::Options options = sim::readOptions(argc, argv);
    struct sigaction action {};
    action.sa_handler = requestStop;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return sim::Simulator(std::move(options)).run(stopRequested);
}
