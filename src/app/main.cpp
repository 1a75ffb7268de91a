#include "app/CommandLine.hpp"
#include "app/Program.hpp"
#include "app/ValuePicture.hpp"
#include "progress/Progress.hpp"
#include "signals/EndingSignals.hpp"
#include "sink/ByteSink.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // Standard descriptors that were closed are taken by /dev/null, so that
    // no file the program opens takes their place and their writes.
    bool closed[3] = {};
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            closed[fd] = true;
            ::open("/dev/null", O_RDWR); // the lowest free descriptor: this one
        }
    }
    handleEndingSignals(); // before any other thread, so that every one blocks them
    DescriptorSink standard_output(STDOUT_FILENO);
    DescriptorSink standard_error(STDERR_FILENO);
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine command = parseCommandLine(args);
    switch (command.action) {
    case CommandLine::Action::help:
    case CommandLine::Action::version:
        if (standard_output.write(command.action == CommandLine::Action::help ? usageText() : versionText())) {
            return 0;
        }
        standard_error.write("klienti: na standardny vystup sa nepodarilo zapisat: " + std::string(std::strerror(errno)) +
                             "\n");
        return 1;
    case CommandLine::Action::usage_error:
        standard_error.write("klienti: " + command.error + "\nklienti: viac v \"klienti --help\"\n");
        return 2;
    case CommandLine::Action::run:
        break;
    }
    // A job's CSV on a standard output that was closed would go nowhere.
    if (command.job && command.job->output == Job::Output::standard_output && closed[STDOUT_FILENO]) {
        standard_error.write("klienti: vystup sa nepodarilo zapisat: " + std::string(std::strerror(EBADF)) + "\n");
        return 1;
    }
    const Calendar system_local_time = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        return local;
    };
    // At a terminal no text lands on a progress line.
    const bool output_is_terminal = ::isatty(STDOUT_FILENO) == 1;
    ClearOfProgress console(standard_output);
    ClearOfProgress diagnostics(standard_error);
    Environment env{std::cin,
                    output_is_terminal ? static_cast<ByteSink&>(console) : standard_output,
                    diagnostics,
                    system_local_time,
                    ".",
                    command.client_file,
                    output_is_terminal,
                    Progress(STDERR_FILENO),
                    choosePager(output_is_terminal, command.no_pager, std::getenv("PAGER"), std::getenv("LESS"),
                                std::getenv("LV")),
                    ::isatty(STDERR_FILENO) == 1,
                    ::isatty(STDIN_FILENO) == 1,
                    [] { return terminalColumns(STDERR_FILENO, std::getenv("COLUMNS")); },
                    [] { holdOffEndingSignals().release(); }};
    return runKlienti(env, command.job, command.collation);
}
