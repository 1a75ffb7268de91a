#pragma once

#include <mutex>

// SIGINT, SIGTERM, SIGHUP and SIGQUIT (Ctrl-C, kill, a closed terminal,
// Ctrl-\) end the program: one thread waits for them and, at the first, runs
// the clean-up steps registered then, in their order, and ends the program
// as that signal would have. A second changes nothing.

// From main, before any other thread: ignores SIGPIPE and SIGXFSZ (a closed
// console or a file-size limit only fails a write), blocks the ending signals
// not ignored (as nohup leaves them) and starts the thread that waits for them.
void handleEndingSignals() noexcept;

// While the lock lives, the clean-up waits: what is done under it (a pager
// started and registered, a file given its name) lies wholly before or
// after the clean-up. It nests; once the clean-up has begun, it never returns.
std::unique_lock<std::recursive_mutex> holdOffEndingSignals() noexcept;

// Registers step(subject) while it lives, holding off the clean-up meanwhile,
// so a step never meets its subject gone. With keyboard_to_child, Ctrl-C and
// Ctrl-\ typed at the terminal (not sent by kill) are a child's, the pager's,
// until the registration ends, after the child has been waited for.
class OnEndingSignal {
public:
    using Step = void (*)(void* subject) noexcept;
    OnEndingSignal(Step step, void* subject, bool keyboard_to_child = false) noexcept;
    ~OnEndingSignal();
    OnEndingSignal(const OnEndingSignal&) = delete;
    OnEndingSignal& operator=(const OnEndingSignal&) = delete;

private:
    friend struct EndingSignals;
    Step step_;
    void* subject_;
    bool keyboard_to_child_;
    OnEndingSignal* next_ = nullptr;
};
