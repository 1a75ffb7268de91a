#pragma once

#include <csignal>
#include <pthread.h>

// The signals that end the program and first remove an unpublished output
// file: Ctrl-C, kill, a closed terminal, Ctrl-\.
inline constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Blocks the ending signals on the calling thread while it lives: threads
// started meanwhile inherit the mask, and a handler never sees a change to
// what it reads half made.
class EndingSignalsBlocked {
public:
    EndingSignalsBlocked() noexcept {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : ending_signals) {
            sigaddset(&set, signal);
        }
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~EndingSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsBlocked(const EndingSignalsBlocked&) = delete;
    EndingSignalsBlocked& operator=(const EndingSignalsBlocked&) = delete;

private:
    sigset_t previous_;
};
