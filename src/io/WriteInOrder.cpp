#include "io/WriteInOrder.hpp"

WriterBuffers::WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers) {
    const std::size_t threads = std::max(workers, 1u);
    // A small table gets batches of its own size: its buffers stay small.
    batch_size_ = std::clamp<std::size_t>((count + threads - 1) / threads, 1, std::max<std::size_t>(batch_size, 1));
    slots_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i) {
        slots_.emplace_back(batch_size_ * record_room);
    }
}
