#pragma once

#include "io/TextBuffer.hpp"
#include "progress/ProgressCallback.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

// A writer's buffers, taken before a cycle shows anything: two rounds of one
// buffer per worker, each with room for a whole batch of records at the most
// a record can take. While one round's text is handed on, the next round is
// formatted into the other.
class WriterBuffers {
public:
    // For count records of at most record_room bytes each, in batches of at
    // most batch_size records. Throws std::bad_alloc.
    WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers);

    unsigned workers() const noexcept { return workers_; }
    std::size_t batchSize() const noexcept { return batch_size_; }
    TextBuffer& at(std::size_t round, unsigned worker) noexcept { return slots_[round % 2 * workers_ + worker].buffer; }

private:
    // Each buffer on cache lines of its own: a buffer's length changes with
    // every append, and two threads writing one line would take turns.
    struct alignas(128) Slot {
        explicit Slot(std::size_t capacity) : buffer(capacity) {}
        TextBuffer buffer;
    };
    unsigned workers_;
    std::size_t batch_size_;
    std::vector<Slot> slots_;
};

// Writes entries [0, count) in order: format(buffer, from, to) appends the
// text of entries [from, to) (at most one batch), hand_on(text) passes a
// round's text on and gives false to stop. The batches of a round are
// formatted side by side, one per worker, while the calling thread hands the
// previous round on. Gives false when a hand-on failed or a batch did not
// fit its buffer. Allocates nothing and throws nothing the format and the
// hand-on do not; progress is told the entries handed on after each round.
template <typename Format, typename HandOn>
bool writeInOrder(std::size_t count, WriterBuffers& buffers, Format&& format, HandOn&& hand_on,
                  const ProgressCallback& progress) {
    const unsigned workers = buffers.workers();
    const std::size_t batch = buffers.batchSize();
    const std::size_t per_round = batch * workers;
    const std::size_t rounds = (count + per_round - 1) / per_round;
    const auto formatBatch = [&](std::size_t round, std::size_t worker) {
        TextBuffer& buffer = buffers.at(round, static_cast<unsigned>(worker));
        buffer.clear();
        const std::size_t from = std::min(count, round * per_round + worker * batch);
        format(buffer, from, std::min(count, from + batch));
    };
    const auto handOnRound = [&](std::size_t round) {
        for (unsigned worker = 0; worker < workers; ++worker) {
            const TextBuffer& buffer = buffers.at(round, worker);
            if (buffer.overflowed() || !hand_on(buffer.text())) {
                return false;
            }
        }
        if (progress) {
            progress(std::min(count, (round + 1) * per_round), count);
        }
        return true;
    };
    bool handed_on = true;
    if (rounds > 0) {
        runSideBySide(workers, [&](std::size_t worker) { formatBatch(0, worker); });
    }
    for (std::size_t round = 0; round < rounds && handed_on; ++round) {
        runSideBySide(workers, [&](std::size_t worker) {
            if (worker == 0) {
                handed_on = handOnRound(round);
            }
            if (round + 1 < rounds) {
                formatBatch(round + 1, worker);
            }
        });
    }
    return handed_on;
}
