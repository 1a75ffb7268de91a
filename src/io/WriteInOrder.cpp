#include "io/WriteInOrder.hpp"

WriterBuffers::WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers)
    : workers_(std::max(workers, 1u)) {
    // A small table gets batches of its own size: its buffers stay small.
    batch_size_ = std::clamp<std::size_t>((count + workers_ - 1) / workers_, 1, std::max<std::size_t>(batch_size, 1));
    const std::size_t rounds_in_flight = count > batch_size_ * workers_ ? 2 : 1;
    slots_.reserve(rounds_in_flight * workers_);
    for (std::size_t i = 0; i < rounds_in_flight * workers_; ++i) {
        slots_.emplace_back(batch_size_ * record_room);
    }
}
