#pragma once

#include "signals/EndingSignals.hpp"
#include "sink/ByteSink.hpp"

#include <optional>
#include <spawn.h>
#include <string>
#include <vector>

// The command a listing is paged through at a terminal, and the variables it
// adds to the pager's environment ("LESS=FRX"). No command: no pager.
struct PagerCommand {
    std::string command;
    std::vector<std::string> environment;
};

// Which pager pages the listings, as git chooses it and sets its environment:
// none when the output is no terminal or --no-pager was given; else PAGER
// where it is set, none where it is blank or "cat"; else less. Whatever the
// pager, LESS=FRX where LESS is unset (a listing that fits one screen is
// printed inline and nothing is cleared) and LV=-c where LV is unset.
PagerCommand choosePager(bool output_is_terminal, bool no_pager, const char* pager, const char* less,
                         const char* lv);

// A pager for one listing. Everything it needs is taken when it is made;
// starting it and writing to it allocate nothing. While it runs, Ctrl-C and
// Ctrl-\ typed at the terminal are the pager's; a signal that ends the
// program ends the pager's input and waits for the pager, so that it does not
// fight the shell for the terminal. A pager quit early only stops the
// listing (its input fails).
class Pager {
public:
    explicit Pager(const PagerCommand& command);
    Pager(const Pager&) = delete;
    Pager& operator=(const Pager&) = delete;
    ~Pager(); // finishes it

    // False, with errno set, when the pager cannot be started.
    bool start() noexcept;
    ByteSink& input() noexcept { return input_; }
    // Ends the pager's input and waits for it. False when it ended as a
    // command that could not be run (the shell's status 126 or 127).
    bool finish() noexcept;
    const std::string& command() const noexcept { return command_.command; }

private:
    static void endOnSignal(void* pager) noexcept;

    PagerCommand command_; // argv_ and envp_ point into it
    std::vector<char*> argv_; // the command, or sh -c and the command
    std::vector<char*> envp_;
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
    int ends_[2] = {-1, -1}; // the pipe until started: the pager reads from 0, the listing writes to 1
    int null_ = -1;          // /dev/null, to put over the pipe's end 1 when the pager's input ends
    int pipe_error_ = 0;
    DescriptorSink input_{-1};
    pid_t pid_ = -1;
    std::optional<OnEndingSignal> running_; // from start until the pager has been waited for
};
