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

// Runs task(0) ... task(count - 1) side by side, each but task(0) on a thread of
// its own where one can be started, else on the calling thread; returns when all
// have ended, rethrowing the first exception a task threw. Tasks may run one
// after another, so none may wait for a later one. Started threads block
// the ending signals, so their handler runs on the main thread, which knows an
// unpublished output file. task is called by reference: nothing copied or allocated.
template <typename Task>
void runSideBySide(std::size_t count, Task&& task) {
    using Plain = std::remove_reference_t<Task>;
    detail::runEach(
        count, [](void* t, std::size_t i) { (*static_cast<Plain*>(t))(i); },
        const_cast<void*>(static_cast<const void*>(&task)));
}
