#pragma once

#include "io/TextBuffer.hpp"
#include "model/ProgressCallback.hpp"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// The writers' buffers: a few per worker, so that the workers format the
// next batches while the last ones are handed on. Made before a cycle shows
// anything, so that running out of memory can still show nothing of it.
class FormatBuffers {
public:
    // Rounds of batches a worker may run ahead of the text handed on.
    static constexpr unsigned depth = 3;

    explicit FormatBuffers(unsigned workers, std::size_t capacity = std::size_t{2} << 20);
    unsigned workers() const noexcept { return workers_; }
    TextBuffer& operator[](std::size_t i) noexcept { return slots_[i].buffer; }

private:
    // Each buffer on cache lines of its own: a buffer's length changes with
    // every append, and two threads writing one line would take turns.
    struct alignas(128) Slot {
        explicit Slot(std::size_t capacity) : buffer(capacity) {}
        TextBuffer buffer;
    };
    unsigned workers_;
    std::vector<Slot> slots_; // depth rounds of one buffer per worker
};

// Appends the text of entries [from, to) to the buffer.
using FormatBatch = std::function<void(TextBuffer& buffer, std::size_t from, std::size_t to)>;
// Takes a piece of text in order; false stops the writing.
using HandOn = std::function<bool(std::string_view text)>;

// Formats entries [0, count) batch by batch (batch_size entries each) on one
// thread per worker and hands the text on in entry order from the calling
// thread. Gives false as soon as a hand-on fails. With one worker, or where
// no thread can be started, everything happens on the calling thread. An
// exception from a formatter is rethrown here once every thread has ended.
// progress is told the entries handed on, after each round of batches.
bool formatInOrder(std::size_t count, std::size_t batch_size, FormatBuffers& buffers, const FormatBatch& format,
                   const HandOn& hand_on, const ProgressCallback& progress = {});
