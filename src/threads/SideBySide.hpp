#pragma once

#include <cstddef>
#include <type_traits>

// The one way the program runs work on several cores: loading, the
// ordering's keys and parts, and the writers' formatting.

// Threads a stage uses: one per core, 1 to 4 (the stages gain little beyond).
unsigned workerCount() noexcept;

namespace detail {
void runEach(std::size_t count, void (*call)(void* task, std::size_t i), void* task);
}

// Runs task(0) ... task(count - 1) side by side, task(0) on the calling thread
// and each other on a thread of its own (or, where none can be started, on the
// calling thread too), and returns when all have ended. Every thread started
// has the ending signals blocked, so that their handler runs on the main
// thread, which knows the name of an unpublished output file. The task is
// called by reference: nothing is copied or allocated for it. The first
// exception a task throws is rethrown once every task has ended.
template <typename Task>
void runSideBySide(std::size_t count, Task&& task) {
    using Plain = std::remove_reference_t<Task>;
    detail::runEach(
        count, [](void* t, std::size_t i) { (*static_cast<Plain*>(t))(i); },
        const_cast<void*>(static_cast<const void*>(&task)));
}
