#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>

// The one way the program runs work on several cores. The units of that work:
// - worker: one of the threads a stage shares its work among, one per core.
// - task: one call task(i) of runSideBySide, run on one thread.
// - chunk: the bytes the reader reads at once; the whole lines of one chunk are
//   parsed while the next is read.
// - piece: a run of whole lines of a chunk that one worker parses; pieces are
//   stored in file order.
// - part: a range of a table's entries that one worker keys or orders; the
//   ordering then merges parts in pairs.
// - batch: a run of a table's records that one worker formats at a time;
//   batches are handed on in table order.

// Threads a stage uses: one per core, 1 to 4 (the stages gain little beyond).
unsigned workerCount() noexcept;

// The one way a table is split among workers: parts of at least min_part
// entries (fewer are not worth a thread), at most one a worker. A stage whose
// entries cost far more than a record's read passes a smaller minimum.
inline constexpr std::size_t min_part = std::size_t{1} << 16;
inline std::size_t partCount(std::size_t n, unsigned workers, std::size_t least = min_part) noexcept {
    return std::clamp<std::size_t>(n / least, 1, std::max(workers, 1u));
}

namespace detail {
void runEach(std::size_t count, void (*call)(void* task, std::size_t i), void* task);
}

// Runs task(0) ... task(count - 1) side by side, each but task(0) on a thread of
// its own where one can be started, else on the calling thread; returns when all
// have ended, rethrowing the first exception a task threw. Tasks may run one
// after another, so none may wait for a later one. task is called by
// reference: nothing copied or allocated.
template <typename Task>
void runSideBySide(std::size_t count, Task&& task) {
    detail::runEach(
        count, [](void* t, std::size_t i) { (*static_cast<std::remove_reference_t<Task>*>(t))(i); },
        const_cast<void*>(static_cast<const void*>(&task)));
}

// Runs each(part, from, to) over the parts of [0, n), side by side.
template <typename Each>
void forEachPart(std::size_t n, unsigned workers, Each&& each, std::size_t least = min_part) {
    const std::size_t parts = partCount(n, workers, least);
    runSideBySide(parts, [&](std::size_t part) { each(part, n * part / parts, n * (part + 1) / parts); });
}
