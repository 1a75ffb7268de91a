#include "app/Signals.hpp"

#include "app/Pager.hpp"
#include "io/TemporaryFile.hpp"
#include "progress/Progress.hpp"
#include "threads/EndingSignals.hpp"

namespace {
extern "C" void cleanUpAndEnd(int signal) {
    // Every ending signal is blocked meanwhile: a second one, of any kind,
    // waits, and the program ends with the first one's status.
    removeTemporaryOnSignal();
    eraseProgress();
    waitForPagerOnSignal();
    // The handler was reset on entry (SA_RESETHAND): raised again and let
    // through alone, the signal ends the program as it would have.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
}
} // namespace

void installSignalHandlers() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = cleanUpAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : ending_signals) {
        sigaddset(&action.sa_mask, signal);
    }
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    for (const int signal : ending_signals) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_IGN) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}
