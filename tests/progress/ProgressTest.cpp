#include "progress/Progress.hpp"

#include "TestSupport.hpp"
#include "app/Dialogue.hpp"
#include "app/Program.hpp"
#include "signals/EndingSignals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// What the other side of a descriptor has received so far.
std::string received(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

using namespace std::chrono_literals;

// A pseudo-terminal whose master reads exactly the bytes written, without
// the line discipline's carriage returns; the master does not block.
void openTerminal(int& master, int& slave) {
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    termios settings{};
    ::tcgetattr(slave, &settings);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    ::tcsetattr(slave, TCSANOW, &settings);
}

} // namespace

TEST(Progress, DrawsOnATerminalOnlyAfterTheDelayAndErasesAtTheEnd) {
    int master = -1;
    int slave = -1;
    openTerminal(master, slave);
    std::chrono::steady_clock::time_point now{};
    Progress progress(slave, [&] { return now; });
    {
        Progress::Step step(progress, "nacitavanie klienti.csv");
        const ProgressCallback callback = step.callback();
        callback(10, 100);
        now += 400ms; // still within the delay
        callback(20, 100);
        EXPECT_EQ(received(master), "");
        now += 100ms; // the delay, to the millisecond
        callback(45, 100);
        EXPECT_EQ(received(master), "\rklienti: nacitavanie klienti.csv 45 %");
        now += 100ms; // too soon to redraw
        callback(50, 100);
        now += 200ms;
        callback(100, 100);
        EXPECT_EQ(received(master), "\rklienti: nacitavanie klienti.csv 100 %");
    }
    EXPECT_EQ(received(master), "\r" + std::string(38, ' ') + "\r");
    // A short step draws nothing and so erases nothing.
    {
        Progress::Step step(progress, "usporiadanie");
        step.callback()(1, 2);
    }
    EXPECT_EQ(received(master), "");
    ::close(master);
    ::close(slave);
}

TEST(Progress, OtherTextErasesTheLineFirstAndTheNextReportDrawsItAnew) {
    int master = -1;
    int slave = -1;
    openTerminal(master, slave);
    std::chrono::steady_clock::time_point now{};
    Progress progress(slave, [&] { return now += 100ms; });
    DescriptorSink terminal(slave);
    ClearOfProgress console(terminal);
    const std::string line = "\rklienti: usporiadanie 50 %";
    const std::string erase = "\r" + std::string(line.size() - 1, ' ') + "\r";
    {
        Progress::Step step(progress, "usporiadanie");
        for (int i = 0; i < 5; ++i) {
            step.callback()(1, 2);
        }
        EXPECT_TRUE(console.write("Riadok 7\n"));
        step.callback()(1, 2); // within the interval, but nothing is drawn
        EXPECT_TRUE(console.write("menu\n"));
    }
    EXPECT_EQ(received(master), line + erase + "Riadok 7\n" + line + erase + "menu\n");
    ::close(master);
    ::close(slave);
}

TEST(Progress, LoadingShowsItsLineAndMalformedLinesComeAfterItIsErased) {
    int master = -1;
    int slave = -1;
    openTerminal(master, slave);
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\nzly riadok\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
    std::istringstream in("u");
    DescriptorSink terminal(slave);
    ClearOfProgress console(terminal);
    std::chrono::steady_clock::time_point now{};
    Environment env{in, console, console, fixedCalendar(2026, 12, 7), dir.path(), "klienti.csv", true,
                    Progress(slave, [&] { return now += 1s; })};
    EXPECT_EQ(runKlienti(env), 0);
    const std::string line = "klienti: nacitavanie klienti.csv 100 %";
    EXPECT_EQ(received(master), "\r" + line + "\r" + std::string(line.size(), ' ') + "\r" +
                                    "Riadok 2 v subore klienti.csv ma nespravny format (ma 1 poli, ocakava sa 11), zaznam bol preskoceny.\n"
                                    "\nBolo nacitanych 1 zaznamov o klientoch banky.\n\nZelate si tieto zaznamy "
                                    "filtrovat?\nVyberte si jednu z moznosti a zadajte prislusny znak.\nA - ano\n"
                                    "N - nie\nU - ukoncit program\n");
    ::close(master);
    ::close(slave);
}

// An ending signal erases the line once and for good: reports that come
// after it, as a worker's would, draw nothing; a line its step erased
// already is not erased again.
TEST(ProgressDeathTest, AnEndingSignalErasesTheLineForGood) {
    int master = -1;
    int slave = -1;
    openTerminal(master, slave);
    const auto signalled = [slave](bool step_ended) {
        std::signal(SIGTERM, SIG_DFL);
        handleEndingSignals();
        std::chrono::steady_clock::time_point now{};
        Progress progress(slave, [&] { return now += 1s; });
        std::optional<Progress::Step> step(std::in_place, progress, "usporiadanie");
        step->callback()(1, 2);
        if (step_ended) {
            step.reset();
        }
        // Once the line is erased, the clean-up lets this thread report
        // again and gives it a while to do so.
        int go[2];
        int reported[2];
        if (::pipe(go) != 0 || ::pipe(reported) != 0) {
            std::_Exit(9);
        }
        int ends[2] = {go[1], reported[0]};
        const OnEndingSignal after(
            [](void* pipe_ends) noexcept {
                DescriptorSink(static_cast<int*>(pipe_ends)[0]).write("!");
                pollfd done{static_cast<int*>(pipe_ends)[1], POLLIN, 0};
                ::poll(&done, 1, 500);
            },
            ends);
        ::kill(::getpid(), SIGTERM);
        char byte;
        if (::read(go[0], &byte, 1) == 1 && step) {
            for (int i = 0; i < 3; ++i) {
                step->callback()(1, 2);
            }
        }
        DescriptorSink(reported[1]).write("!");
        ::pause();
    };
    for (const bool step_ended : {false, true}) {
        EXPECT_EXIT(signalled(step_ended), testing::KilledBySignal(SIGTERM), "");
        const std::string line = "klienti: usporiadanie 50 %";
        EXPECT_EQ(received(master), "\r" + line + "\r" + std::string(line.size(), ' ') + "\r") << step_ended;
    }
    ::close(master);
    ::close(slave);
}

TEST(Progress, NothingWhereTheOutputIsNoTerminal) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    Progress progress(ends[1]);
    Progress::Step step(progress, "vypis");
    EXPECT_FALSE(step.callback());
    ::close(ends[0]);
    ::close(ends[1]);
}
