#include "threads/SideBySide.hpp"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

unsigned workerCount() noexcept { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

void detail::runEach(std::size_t count, void (*call)(void*, std::size_t), void* task) {
    if (count == 0) {
        return;
    }
    std::exception_ptr first_failure;
    std::once_flag failed;
    const auto guarded = [&](std::size_t i) noexcept {
        try {
            call(task, i);
        } catch (...) {
            std::call_once(failed, [&] { first_failure = std::current_exception(); });
        }
    };
    std::vector<std::thread> threads;
    std::size_t next = 1; // the first task not yet given to a thread
    try {
        threads.reserve(count - 1);
        for (; next < count; ++next) {
            threads.emplace_back(guarded, next);
        }
    } catch (...) {
        // No thread to be had (memory, a process limit): the rest run here.
    }
    for (guarded(0); next < count; ++next) {
        guarded(next);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (first_failure) {
        std::rethrow_exception(first_failure);
    }
}
