#include "signals/EndingSignals.hpp"

#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {
std::recursive_mutex turns;      // held by the clean-up from its start to the program's end
OnEndingSignal* first = nullptr; // the registered steps, in their order
int keyboard_children = 0;       // of them, those whose child holds the keyboard
int waited = -1;                 // the ending signals, read as they come
} // namespace

struct EndingSignals {
    // With turns held, the ending signals come: one typed at a keyboard a child
    // holds is the child's; any other runs the steps and ends the program.
    static void meet() noexcept {
        for (signalfd_siginfo info{}; ::read(waited, &info, sizeof info) == sizeof info;) {
            const auto signal = static_cast<int>(info.ssi_signo);
            if ((signal == SIGINT || signal == SIGQUIT) && info.ssi_code == SI_KERNEL && keyboard_children > 0) {
                continue;
            }
            for (const OnEndingSignal* step = first; step != nullptr; step = step->next_) {
                step->step_(step->subject_);
            }
            std::signal(signal, SIG_DFL);
            sigset_t only;
            sigemptyset(&only);
            sigaddset(&only, signal);
            ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
            ::raise(signal);
        }
    }

    static void* wait(void*) noexcept {
        for (pollfd come{waited, POLLIN, 0};; ::poll(&come, 1, -1)) {
            const std::lock_guard lock(turns);
            meet();
        }
    }
};

void handleEndingSignals() noexcept {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0 || before.sa_handler != SIG_IGN) {
            sigaddset(&ending, signal);
        }
    }
    ::pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    waited = ::signalfd(-1, &ending, SFD_NONBLOCK | SFD_CLOEXEC);
    pthread_t thread;
    if (waited < 0 || ::pthread_create(&thread, nullptr, EndingSignals::wait, nullptr) != 0) {
        ::pthread_sigmask(SIG_UNBLOCK, &ending, nullptr); // they end the program unaided, cleaning up nothing
        return;
    }
    ::pthread_detach(thread);
}

std::unique_lock<std::recursive_mutex> holdOffEndingSignals() noexcept { return std::unique_lock(turns); }

OnEndingSignal::OnEndingSignal(Step step, void* subject, bool keyboard_to_child) noexcept
    : step_(step), subject_(subject), keyboard_to_child_(keyboard_to_child) {
    const std::lock_guard lock(turns);
    OnEndingSignal** end = &first;
    while (*end != nullptr) {
        end = &(*end)->next_;
    }
    *end = this;
    keyboard_children += keyboard_to_child ? 1 : 0;
}

OnEndingSignal::~OnEndingSignal() {
    const std::lock_guard lock(turns);
    if (keyboard_to_child_) {
        // The child has been waited for, so a Ctrl-C that ended it has come
        // by now: met here, it is still the child's.
        EndingSignals::meet();
        --keyboard_children;
    }
    OnEndingSignal** at = &first;
    while (*at != this) {
        at = &(*at)->next_;
    }
    *at = next_;
}
