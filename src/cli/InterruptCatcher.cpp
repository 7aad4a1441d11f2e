#include "cli/InterruptCatcher.h"

namespace quorvel {

namespace {

std::atomic<bool> signalled{false};
std::atomic<int> signalNumber{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

void onSignal(int number) {
    signalNumber.store(number);
    signalled.store(true);
}

} // namespace

InterruptCatcher::InterruptCatcher() {
    signalled.store(false);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInterrupt_);
    sigaction(SIGTERM, &action, &oldTerminate_);
}

InterruptCatcher::~InterruptCatcher() {
    sigaction(SIGINT, &oldInterrupt_, nullptr);
    sigaction(SIGTERM, &oldTerminate_, nullptr);
}

const std::atomic<bool>& InterruptCatcher::interrupted() const {
    return signalled;
}

int InterruptCatcher::exitStatus() const {
    return 128 + signalNumber.load();
}

} // namespace quorvel
