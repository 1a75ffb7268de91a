#include "app/Pager.hpp"

#include "threads/EndingSignals.hpp"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {
// The running pager and its input, for the signal handler. The pager stays
// known until it has been waited for; its input is closed by whoever takes it
// first, the handler or finish().
std::atomic<pid_t> running_pager{-1};
std::atomic<int> running_input{-1};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// How the program met Ctrl-C and Ctrl-\ before a pager took them.
struct sigaction keyboard_before[2]; // SIGINT, SIGQUIT

// While a pager runs, Ctrl-C and Ctrl-\ typed at the terminal are the
// pager's; the same signals sent by a process (kill) are met as before.
extern "C" void leaveKeyboardToPager(int signal, siginfo_t* info, void*) {
    if (info->si_code == SI_KERNEL) {
        return;
    }
    // Blocked here: it comes again once this returns, to the action restored.
    ::sigaction(signal, &keyboard_before[signal == SIGINT ? 0 : 1], nullptr);
    ::raise(signal);
}

void restoreKeyboard() noexcept {
    ::sigaction(SIGINT, &keyboard_before[0], nullptr);
    ::sigaction(SIGQUIT, &keyboard_before[1], nullptr);
}

void endPagerInput() noexcept {
    if (const int fd = running_input.exchange(-1); fd >= 0) {
        ::close(fd);
    }
}

// Never written through: posix_spawn only takes its arguments as char*.
char shell[] = "sh";
char shell_option[] = "-c";
} // namespace

void waitForPagerOnSignal() noexcept {
    if (const pid_t pid = running_pager.load(); pid >= 0) {
        endPagerInput();
        // Waits without reaping: finish() reaps it, if it gets so far.
        siginfo_t ended{};
        while (::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
        }
    }
}

PagerCommand choosePager(bool output_is_terminal, bool no_pager, const char* pager, const char* less,
                         const char* lv) {
    const std::string_view chosen = pager != nullptr ? pager : "less";
    const bool blank = chosen.find_first_not_of(" \t\n") == std::string_view::npos;
    if (!output_is_terminal || no_pager || blank || chosen == "cat") {
        return {};
    }
    PagerCommand command{std::string(chosen), {}};
    if (less == nullptr) {
        command.environment.emplace_back("LESS=FRX");
    }
    if (lv == nullptr) {
        command.environment.emplace_back("LV=-c");
    }
    return command;
}

Pager::Pager(const PagerCommand& command)
    // A plain command name runs as it is, so that one that is missing is told
    // at once; anything else goes through the shell, as git runs it.
    : command_(command),
      argv_(command_.command.find_first_of("|&;<>()$`\\\"' \t\n*?[#~=%") == std::string::npos
                ? std::vector<char*>{command_.command.data(), nullptr}
                : std::vector<char*>{shell, shell_option, command_.command.data(), nullptr}) {
    for (char** variable = environ; *variable != nullptr; ++variable) {
        envp_.push_back(*variable);
    }
    for (std::string& variable : command_.environment) {
        envp_.push_back(variable.data());
    }
    envp_.push_back(nullptr);
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
    if (::pipe2(ends_, O_CLOEXEC) != 0) {
        pipe_error_ = errno;
        return;
    }
    // The pager reads the pipe as its input and meets the signals as any
    // program started from a shell would, whatever the program ignores.
    posix_spawn_file_actions_adddup2(&actions_, ends_[0], STDIN_FILENO);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes_, &signals);
    for (const int signal : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) {
        sigaddset(&signals, signal);
    }
    posix_spawnattr_setsigdefault(&attributes_, &signals);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
}

Pager::~Pager() {
    finish();
    for (const int end : ends_) {
        if (end >= 0) {
            ::close(end);
        }
    }
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
}

bool Pager::start() noexcept {
    if (pipe_error_ != 0) {
        errno = pipe_error_;
        return false;
    }
    // A pager started is known to the handler at once; a Ctrl-C or Ctrl-\ that
    // comes meanwhile waits, and goes to the pager once it has the keyboard.
    const EndingSignalsBlocked blocked;
    const int error = argv_[0] == shell
                          ? posix_spawn(&pid_, "/bin/sh", &actions_, &attributes_, argv_.data(), envp_.data())
                          : posix_spawnp(&pid_, argv_[0], &actions_, &attributes_, argv_.data(), envp_.data());
    ::close(std::exchange(ends_[0], -1));
    if (error != 0) {
        pid_ = -1;
        errno = error;
        return false;
    }
    struct sigaction keyboard {};
    keyboard.sa_sigaction = leaveKeyboardToPager;
    keyboard.sa_flags = SA_SIGINFO;
    sigemptyset(&keyboard.sa_mask);
    for (const int signal : ending_signals) {
        sigaddset(&keyboard.sa_mask, signal);
    }
    ::sigaction(SIGINT, &keyboard, &keyboard_before[0]);
    ::sigaction(SIGQUIT, &keyboard, &keyboard_before[1]);
    input_ = DescriptorSink(ends_[1]);
    running_input.store(std::exchange(ends_[1], -1));
    running_pager.store(pid_);
    return true;
}

bool Pager::finish() noexcept {
    if (pid_ < 0) {
        return true;
    }
    {
        // Taken and closed in one go: a handler never finds the input taken
        // but still open, which would leave the pager waiting for more.
        const EndingSignalsBlocked blocked;
        endPagerInput();
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    running_pager.store(-1);
    pid_ = -1;
    restoreKeyboard();
    return !(WIFEXITED(status) && (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127));
}
