#include "signals/EndingSignals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/syscall.h>
#include <unistd.h>

// While a child holds the keyboard, Ctrl-C and Ctrl-\ typed there (sent by
// the kernel) are the child's, even one still waiting when the child's
// registration ends; the same signals sent by kill end the program.
TEST(EndingSignalsDeathTest, TheKeyboardsSignalsAreAChildsWhileItHoldsTheKeyboard) {
    const struct {
        int signal;
        int code;
        int ending;
    } cases[] = {{SIGINT, SI_KERNEL, SIGTERM}, {SIGQUIT, SI_KERNEL, SIGTERM}, {SIGINT, SI_USER, SIGINT}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                for (const int signal : {SIGINT, SIGQUIT, SIGTERM}) {
                    std::signal(signal, SIG_DFL); // whatever the test's caller ignores
                }
                handleEndingSignals();
                std::optional<OnEndingSignal> child(std::in_place, [](void*) noexcept {}, nullptr, true);
                {
                    // Sent and left over before the signal thread may look.
                    const auto held = holdOffEndingSignals();
                    siginfo_t info{};
                    info.si_signo = c.signal;
                    info.si_code = c.code;
                    ::syscall(SYS_rt_sigqueueinfo, ::getpid(), c.signal, &info);
                    child.reset();
                }
                ::kill(::getpid(), SIGTERM);
                ::pause();
            },
            testing::KilledBySignal(c.ending), "")
            << c.signal << " " << c.code;
    }
}
