#include "app/Signals.hpp"

#include "app/Pager.hpp"
#include "io/TemporaryFile.hpp"
#include "progress/Progress.hpp"
#include "threads/EndingSignals.hpp"

namespace {

extern "C" void cleanUpAndEnd(int signal) {
    removeTemporaryOnSignal();
    eraseProgressOnSignal();
    waitForPagerOnSignal();
    // The handler was reset on entry (SA_RESETHAND): once it returns, the
    // signal raised again ends the program with the signal's own status.
    ::raise(signal);
}

} // namespace

void installSignalHandlers() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : ending_signals) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = cleanUpAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = static_cast<int>(SA_RESETHAND);
        ::sigaction(signal, &action, nullptr);
    }
}
