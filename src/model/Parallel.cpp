#include "model/Parallel.hpp"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

unsigned workerCount() noexcept { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

void runSideBySide(std::span<const std::function<void()>> tasks) {
    std::exception_ptr first_failure;
    std::mutex failure_lock;
    const auto guarded = [&](const std::function<void()>& task) {
        try {
            task();
        } catch (...) {
            const std::lock_guard lock(failure_lock);
            if (!first_failure) {
                first_failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < tasks.size(); ++i) {
        try {
            threads.emplace_back(guarded, std::cref(tasks[i]));
        } catch (...) {
            guarded(tasks[i]); // no thread to be had: the task runs here
        }
    }
    if (!tasks.empty()) {
        guarded(tasks[0]);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (first_failure) {
        std::rethrow_exception(first_failure);
    }
}
