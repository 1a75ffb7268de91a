#include "threads/SideBySide.hpp"

#include "threads/EndingSignals.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

TEST(SideBySide, EveryTaskRunsWithTheEndingSignalsBlockedBeyondTheCallingThread) {
    std::vector<int> ran(4, 0);
    std::vector<int> blocked(4, 0);
    runSideBySide(4, [&](std::size_t task) {
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        for (const int signal : ending_signals) {
            blocked[task] += sigismember(&mask, signal);
        }
        ++ran[task];
    });
    EXPECT_EQ(ran, (std::vector<int>{1, 1, 1, 1}));
    // The calling thread keeps its mask: there the handler runs.
    EXPECT_EQ(blocked, (std::vector<int>{0, 4, 4, 4}));
}

TEST(SideBySide, WhereNoThreadCanBeStartedEveryTaskRunsHere) {
    std::vector<int> ran(3, 0);
    {
        const AllocationLimit limit(1);
        runSideBySide(3, [&](std::size_t task) { ++ran[task]; });
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 1, 1}));
}

TEST(SideBySide, ATasksFailureIsRethrownOnceAllHaveEnded) {
    std::atomic<int> ended{0};
    EXPECT_THROW(runSideBySide(3,
                               [&](std::size_t task) {
                                   ++ended;
                                   if (task == 2) {
                                       throw std::runtime_error("task 2");
                                   }
                               }),
                 std::runtime_error);
    EXPECT_EQ(ended, 3);
}
