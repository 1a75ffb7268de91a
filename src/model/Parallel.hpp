#pragma once

#include <cstddef>
#include <functional>
#include <span>

// Work on every core, for the stages that split cleanly: loading, taking
// the ordering's keys, formatting the writers' text.

// How many threads a stage uses: as many as the machine has cores, at most
// four (the stages gain little beyond), at least one.
unsigned workerCount() noexcept;

// Runs the tasks side by side, task 0 on the calling thread and each other
// on a thread of its own, and returns when all have ended. Where no thread
// can be started, its task runs on the calling thread instead. The first
// exception a task throws is rethrown here once every task has ended.
void runSideBySide(std::span<const std::function<void()>> tasks);
