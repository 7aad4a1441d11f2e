#pragma once
// Ctrl-C (SIGINT) and SIGTERM during a download: instead of ending the program at once, they
// set a flag the download watches, so it can remove its unfinished file first.
#include <atomic>
#include <csignal>

namespace quorvel {

class InterruptCatcher {
  public:
    // Catches the signals until destroyed; the previous handlers come back then.
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    // Set once a signal has arrived.
    const std::atomic<bool>& interrupted() const;
    // The exit status of a program ended by the signal that arrived (128 + its number).
    int exitStatus() const;

  private:
    struct sigaction oldInterrupt_ {};
    struct sigaction oldTerminate_ {};
};

} // namespace quorvel
