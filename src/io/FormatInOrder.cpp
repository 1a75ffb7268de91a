#include "io/FormatInOrder.hpp"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

FormatBuffers::FormatBuffers(unsigned workers, std::size_t capacity) : workers_(std::max(workers, 1u)) {
    const std::size_t count = std::size_t{depth} * workers_;
    slots_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        slots_.emplace_back(capacity);
    }
}

namespace {

bool formatAlone(std::size_t count, std::size_t batch_size, TextBuffer& buffer, const FormatBatch& format,
                 const HandOn& hand_on, const ProgressCallback& progress) {
    for (std::size_t from = 0; from < count; from += batch_size) {
        const std::size_t to = std::min(count, from + batch_size);
        buffer.clear();
        format(buffer, from, to);
        if (!hand_on(buffer.text())) {
            return false;
        }
        if (progress) {
            progress(to, count);
        }
    }
    return true;
}

// The batches go round the workers: round r holds batches r * n to
// r * n + n - 1, batch r * n + w formatted by worker w into buffer slot
// (r % d) * n + w, d being the buffers' depth. Each worker has a thread of
// its own and may start round r once round r - d, which used the same
// buffers, has been handed on; the calling thread only hands the text on, so
// that writing it (the heavier part for a file) never holds up a formatter.
// Waiting blocks on a condition variable: a waiter that spun would take the
// core a formatter needs. The depth lets the workers run rounds ahead, so
// that they rarely wait for a thread to wake.
class Rounds {
public:
    Rounds(std::size_t count, std::size_t batch_size, FormatBuffers& buffers, const FormatBatch& format,
           unsigned workers)
        : count_(count), batch_size_(batch_size), buffers_(buffers), format_(format), workers_(workers),
          depth_(FormatBuffers::depth), ready_(std::size_t{depth_} * workers, 0) {}

    // A worker's formatting, on a thread of its own.
    void work(unsigned w) {
        for (uint64_t round = 0;; ++round) {
            if (first(round, w) >= count_) {
                return;
            }
            {
                std::unique_lock lock(lock_);
                changed_.wait(lock, [&] { return stopped_ || handed_on_ + depth_ > round; });
                if (stopped_) {
                    return;
                }
            }
            std::exception_ptr failure;
            try {
                formatBatch(round, w);
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard lock(lock_);
            if (failure && !failure_) {
                failure_ = failure;
            }
            ready_[slot(round, w)] = round + 1;
            changed_.notify_all();
        }
    }

    // Hands every batch on in order; false when a hand-on failed or a
    // formatter threw.
    bool handOn(const HandOn& hand_on, const ProgressCallback& progress) {
        for (uint64_t round = 0; first(round, 0) < count_; ++round) {
            for (unsigned w = 0; w < workers_ && first(round, w) < count_; ++w) {
                {
                    std::unique_lock lock(lock_);
                    changed_.wait(lock, [&] { return ready_[slot(round, w)] == round + 1; });
                    if (failure_) {
                        return false;
                    }
                }
                if (!hand_on(buffers_[slot(round, w)].text())) {
                    return false;
                }
                if (progress) {
                    progress(std::min(count_, first(round, w) + batch_size_), count_);
                }
            }
            const std::lock_guard lock(lock_);
            handed_on_ = round + 1;
            changed_.notify_all();
        }
        return true;
    }

    // Releases every worker that waits; they end at their next check.
    void stop() {
        const std::lock_guard lock(lock_);
        stopped_ = true;
        changed_.notify_all();
    }

    void rethrowFailure() const {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

private:
    std::size_t first(uint64_t round, unsigned w) const { return (round * workers_ + w) * batch_size_; }
    std::size_t slot(uint64_t round, unsigned w) const { return (round % depth_) * workers_ + w; }

    void formatBatch(uint64_t round, unsigned w) {
        TextBuffer& buffer = buffers_[slot(round, w)];
        buffer.clear();
        format_(buffer, first(round, w), std::min(count_, first(round, w) + batch_size_));
    }

    const std::size_t count_;
    const std::size_t batch_size_;
    FormatBuffers& buffers_;
    const FormatBatch& format_;
    const unsigned workers_;
    const unsigned depth_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<uint64_t> ready_; // per slot: the round formatted into it, plus one
    uint64_t handed_on_ = 0;      // rounds handed on
    bool stopped_ = false;
    std::exception_ptr failure_;
};

} // namespace

bool formatInOrder(std::size_t count, std::size_t batch_size, FormatBuffers& buffers, const FormatBatch& format,
                   const HandOn& hand_on, const ProgressCallback& progress) {
    batch_size = std::max<std::size_t>(batch_size, 1);
    const unsigned workers = buffers.workers();
    if (workers <= 1 || count <= batch_size) {
        return formatAlone(count, batch_size, buffers[0], format, hand_on, progress);
    }
    Rounds rounds(count, batch_size, buffers, format, workers);
    std::vector<std::thread> threads;
    bool all_started = true;
    try {
        threads.reserve(workers);
        for (unsigned w = 0; w < workers; ++w) {
            threads.emplace_back([&rounds, w] { rounds.work(w); });
        }
    } catch (...) {
        all_started = false;
    }
    bool handed_on = false;
    std::exception_ptr failure;
    if (all_started) {
        try {
            handed_on = rounds.handOn(hand_on, progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    rounds.stop();
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    rounds.rethrowFailure();
    if (!all_started) {
        // Not a thread for every worker: the batches are formatted here.
        return formatAlone(count, batch_size, buffers[0], format, hand_on, progress);
    }
    return handed_on;
}
