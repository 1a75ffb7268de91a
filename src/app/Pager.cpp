#include "app/Pager.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {
// Never written through: posix_spawn only takes its arguments as char*.
char shell[] = "sh";
char shell_option[] = "-c";
} // namespace

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
    if ((null_ = ::open("/dev/null", O_WRONLY | O_CLOEXEC)) < 0 || ::pipe2(ends_, O_CLOEXEC) != 0) {
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
    for (const int fd : {ends_[0], ends_[1], null_}) {
        if (fd >= 0) {
            ::close(fd);
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
    // Started and registered in one go, before or after an ending signal's
    // clean-up; a Ctrl-C or Ctrl-\ typed meanwhile is left to the pager.
    const auto held = holdOffEndingSignals();
    const int error = argv_[0] == shell
                          ? posix_spawn(&pid_, "/bin/sh", &actions_, &attributes_, argv_.data(), envp_.data())
                          : posix_spawnp(&pid_, argv_[0], &actions_, &attributes_, argv_.data(), envp_.data());
    ::close(std::exchange(ends_[0], -1));
    if (error != 0) {
        pid_ = -1;
        errno = error;
        return false;
    }
    input_ = DescriptorSink(ends_[1]);
    running_.emplace(endOnSignal, this, true);
    return true;
}

bool Pager::finish() noexcept {
    if (pid_ < 0) {
        return true;
    }
    ::dup2(null_, ends_[1]); // ends the input as an ending signal does, so the two never conflict
    int status = 0;
    ::waitpid(pid_, &status, 0); // no handler ever interrupts it
    running_.reset(); // only now: a Ctrl-C that ended the pager was the pager's
    pid_ = -1;
    return !(WIFEXITED(status) && (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127));
}

// The pager sees its input end, and a listing's late writes go nowhere, not
// to a file opened meanwhile under the pipe's number; then waits for the
// pager's end without reaping it: finish() reaps it.
void Pager::endOnSignal(void* subject) noexcept {
    const Pager& pager = *static_cast<const Pager*>(subject);
    ::dup2(pager.null_, pager.ends_[1]);
    siginfo_t ended{};
    ::waitid(P_PID, static_cast<id_t>(pager.pid_), &ended, WEXITED | WNOWAIT);
}
