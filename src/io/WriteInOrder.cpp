#include "io/WriteInOrder.hpp"

WriterBuffers::WriterBuffers(std::size_t count, std::size_t batch_size, std::size_t record_room, unsigned workers) {
    // A small table gets one worker, with a batch of its own size.
    batch_size_ = std::clamp<std::size_t>(count, 1, std::max<std::size_t>(batch_size, 1));
    const std::size_t threads = std::clamp<std::size_t>((count + batch_size_ - 1) / batch_size_, 1, std::max(workers, 1u));
    slots_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i) {
        slots_.emplace_back(batch_size_ * record_room);
    }
}
