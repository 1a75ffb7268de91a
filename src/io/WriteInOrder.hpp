#pragma once

#include "io/TextBuffer.hpp"
#include "progress/ProgressCallback.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstddef>
#include <string_view>
#include <vector>

// A writer's buffers for count records, taken before a cycle shows anything:
// one per worker, each holding a batch of up to batch_size records of
// record_room bytes. Throws std::bad_alloc.
class WriterBuffers {
public:
    WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers);

    unsigned workers() const noexcept { return static_cast<unsigned>(slots_.size()); }
    std::size_t batchSize() const noexcept { return batch_size_; }
    TextBuffer& at(std::size_t worker) noexcept { return slots_[worker].buffer; }

private:
    // Each buffer on cache lines of its own: its length changes with every
    // append, and two threads writing one line would take turns.
    struct alignas(128) Slot {
        explicit Slot(std::size_t capacity) : buffer(capacity) {}
        TextBuffer buffer;
    };
    std::size_t batch_size_;
    std::vector<Slot> slots_;
};

// Writes entries [0, count) in order: format(buffer, from, to) appends a
// batch's text, hand_on(text) passes it on (false stops). Each worker takes
// the next batch, formats it and hands it on after the batch before it, so
// one writes while the others format. False when a hand-on failed or a batch
// overflowed its buffer. Allocates and throws nothing that format and
// hand_on do not; progress is told the entries handed on after each batch.
template <typename Format, typename HandOn>
bool writeInOrder(std::size_t count, WriterBuffers& buffers, Format&& format, HandOn&& hand_on,
                  const ProgressCallback& progress) {
    const unsigned workers = buffers.workers();
    const std::size_t batch = buffers.batchSize();
    const std::size_t batches = (count + batch - 1) / batch;
    constexpr std::size_t stopped = SIZE_MAX;
    std::atomic<std::size_t> taken{0}; // the next batch for a worker to take
    std::atomic<std::size_t> turn{0};  // the batch to be handed on next, or stopped
    const auto end = [&](std::size_t next) {
        turn.store(next);
        turn.notify_all();
    };
    runSideBySide(workers, [&](std::size_t worker) {
        TextBuffer& buffer = buffers.at(worker);
        // Batches are taken, not dealt: a batch is only ever waited for by
        // a worker that runs, even where the workers run one after another
        // because no thread could be started.
        for (std::size_t b = taken++; b < batches; b = taken++) {
            buffer.clear();
            try {
                format(buffer, b * batch, std::min(count, (b + 1) * batch));
            } catch (...) {
                end(stopped); // nobody waits for a batch that will never come
                throw;
            }
            for (std::size_t now = turn.load(); now != b; now = turn.load()) {
                if (now == stopped) {
                    return;
                }
                turn.wait(now);
            }
            const bool handed_on = !buffer.overflowed() && hand_on(buffer.text());
            if (handed_on && progress) {
                progress(std::min(count, (b + 1) * batch), count);
            }
            end(handed_on ? b + 1 : stopped);
        }
    });
    return turn.load() == batches;
}
