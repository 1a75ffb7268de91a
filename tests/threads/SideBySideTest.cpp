#include "threads/SideBySide.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

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
