#include "progress/Progress.hpp"

#include "TestSupport.hpp"
#include "app/Dialogue.hpp"
#include "app/Signals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <sstream>
#include <pty.h>
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

} // namespace

TEST(Progress, DrawsOnATerminalOnlyAfterTheDelayAndErasesAtTheEnd) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    std::chrono::steady_clock::time_point now{};
    Progress progress(slave, nullptr, [&] { return now; });
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

TEST(Progress, LoadingTheClientFileShowsIt) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    // A second passes at every look at the clock: every step is long.
    std::chrono::steady_clock::time_point now{};
    Progress progress(slave, nullptr, [&] { return now += 1s; });
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
    std::istringstream in("u");
    std::ostringstream out;
    std::ostringstream err;
    Environment env{in, out, err, fixedCalendar(2026, 12, 7), dir.path()};
    env.progress = &progress;
    EXPECT_EQ(runKlienti(env), 0);
    const std::string line = "klienti: nacitavanie klienti.csv 100 %";
    EXPECT_EQ(received(master), "\r" + line + "\r" + std::string(line.size(), ' ') + "\r");
    ::close(master);
    ::close(slave);
}

TEST(ProgressDeathTest, AnEndingSignalErasesTheLine) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    // The signal comes while the step runs, and after it ended: a line its
    // step has erased already is not erased again.
    for (const bool step_ended : {false, true}) {
        EXPECT_EXIT(
            {
                std::signal(SIGTERM, SIG_DFL);
                installSignalHandlers();
                std::chrono::steady_clock::time_point now{};
                Progress progress(slave, nullptr, [&] { return now += 1s; });
                std::optional<Progress::Step> step(std::in_place, progress, "usporiadanie");
                step->callback()(1, 2);
                if (step_ended) {
                    step.reset();
                }
                std::raise(SIGTERM);
            },
            testing::KilledBySignal(SIGTERM), "");
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
