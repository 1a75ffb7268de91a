#pragma once

#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"
#include "sink/ByteSink.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

// A writer's buffers for count records, taken before a cycle shows anything:
// one per worker, each holding a batch of up to batch_size records of at most
// record_room bytes. Throws std::bad_alloc.
class WriterBuffers {
public:
    WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers) {
        // A small table gets one worker, with a batch of its own size.
        batch_size_ = std::clamp<std::size_t>(count, 1, std::max<std::size_t>(batch_size, 1));
        const std::size_t threads =
            std::clamp<std::size_t>((count + batch_size_ - 1) / batch_size_, 1, std::max(workers, 1u));
        slots_.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) {
            slots_.emplace_back(batch_size_ * record_room);
        }
    }

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

// Writes entries [0, count) to the sink in order: format(buffer, from, to)
// appends a batch's text. Each worker takes the next batch, formats it and
// writes it once the batch before it is written, so one writes while the
// others format. A batch's turn passes on only from its own number, so a stop
// is never overwritten: a failing sink stops every worker, and so does a
// formatter that throws, whose exception is passed on once all have ended.
// False when anything stopped the writing, with errno set, on the calling
// thread, to the failing sink's. Allocates nothing that format does
// not; progress is told the entries written after each batch.
template <typename Format>
bool writeInOrder(std::size_t count, WriterBuffers& buffers, Format&& format, ByteSink& sink,
                  const ProgressCallback& progress) {
    const std::size_t batch = buffers.batchSize();
    const std::size_t batches = (count + batch - 1) / batch;
    constexpr std::size_t stopped = SIZE_MAX;
    std::atomic<std::size_t> taken{0}; // the next batch for a worker to take
    std::atomic<std::size_t> turn{0};  // the batch to be written next, or stopped
    std::atomic<int> error{0};         // the failing sink's errno, which is its thread's own
    const auto stop = [&] {
        turn.store(stopped);
        turn.notify_all();
    };
    runSideBySide(buffers.workers(), [&](std::size_t worker) {
        TextBuffer& buffer = buffers.at(worker);
        // Batches are taken, not dealt: a batch is only ever waited for by
        // a worker that runs, even where the workers run one after another
        // because no thread could be started.
        for (std::size_t b = taken++; b < batches; b = taken++) {
            const std::size_t to = std::min(count, (b + 1) * batch);
            buffer.clear();
            try {
                format(buffer, b * batch, to);
            } catch (...) {
                stop(); // nobody waits for a batch that will never come
                throw;
            }
            for (std::size_t now = turn.load(); now != b; now = turn.load()) {
                if (now == stopped) {
                    return;
                }
                turn.wait(now);
            }
            if (!sink.write(buffer.text())) {
                error.store(errno);
                stop();
                return;
            }
            progress(to, count);
            std::size_t mine = b;
            turn.compare_exchange_strong(mine, b + 1);
            turn.notify_all();
        }
    });
    if (turn.load() != batches) {
        errno = error.load();
        return false;
    }
    return true;
}

// After an ordering the writers visit records in an order unrelated to memory
// and would wait at each; asking a few entries ahead overlaps the wait with
// formatting. Inlined before the compiler judges it: a prefetch is no side
// effect to it, so a call left standing would count as removable.
inline constexpr std::size_t prefetch_distance = 16;
[[gnu::always_inline]] inline void prefetchAhead(const Klient* const* tabulka, std::size_t i,
                                                 std::size_t end) noexcept {
    if (end - i > prefetch_distance) {
        const auto* klient = reinterpret_cast<const char*>(tabulka[i + prefetch_distance]);
        for (std::size_t b = 0; b < sizeof(Klient); b += 64) {
            __builtin_prefetch(klient + b);
        }
    }
}

// writeInOrder over the first count records of a table: formatOne(buffer,
// record, index) appends one record's text.
template <typename FormatOne>
bool writeRecordsInOrder(const Klient* const* tabulka, std::size_t count, WriterBuffers& buffers,
                         FormatOne formatOne, ByteSink& sink, const ProgressCallback& progress) {
    return writeInOrder(
        count, buffers,
        [&](TextBuffer& buffer, std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                prefetchAhead(tabulka, i, to);
                formatOne(buffer, *tabulka[i], i);
            }
        },
        sink, progress);
}
