#include "progress/Progress.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// The longest line drawn: longer names are cut.
constexpr std::size_t max_width = 120;
constexpr std::string_view spaces = "                                                                                "
                                    "                                        ";
static_assert(spaces.size() == max_width);

// The line drawn last, for the signal handler.
std::atomic<int> drawn_fd{-1};
std::atomic<std::size_t> drawn_width{0};

void writeAll(int fd, std::string_view text) noexcept {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            return; // a progress line is worth no error of its own
        }
    }
}

// A carriage return, width blanks and a carriage return: the line is gone.
void erase(int fd, std::size_t width) noexcept {
    writeAll(fd, "\r");
    writeAll(fd, spaces.substr(0, width));
    writeAll(fd, "\r");
}

} // namespace

Progress::Progress(int fd, std::ostream* console, Clock clock, std::chrono::milliseconds delay,
                   std::chrono::milliseconds interval)
    : fd_(fd), enabled_(fd >= 0 && ::isatty(fd) == 1), console_(console), clock_(std::move(clock)), delay_(delay),
      interval_(interval) {}

Progress::Step::Step(Progress& progress, std::string_view name)
    : progress_(progress), name_(name), start_(progress.enabled_ ? progress.clock_() : decltype(start_){}) {}

Progress::Step::~Step() {
    if (drawn_width_ > 0) {
        erase(progress_.fd_, drawn_width_);
        drawn_width = 0;
    }
}

ProgressCallback Progress::Step::callback() noexcept {
    const auto update = [](void* step, std::uint64_t done, std::uint64_t total) {
        static_cast<Step*>(step)->update(done, total);
    };
    return progress_.enabled_ ? ProgressCallback(update, this) : ProgressCallback();
}

void Progress::Step::update(std::uint64_t done, std::uint64_t total) noexcept {
    const auto now = progress_.clock_();
    if (now - start_ < progress_.delay_ || (drawn_width_ > 0 && now - drawn_at_ < progress_.interval_)) {
        return;
    }
    const std::uint64_t percent = total == 0 ? 0 : (done >= total ? 100 : done * 100 / total);
    char visible[max_width + 1];
    const int length = std::snprintf(visible, sizeof visible, "klienti: %.*s %llu %%",
                                     static_cast<int>(std::min(name_.size(), max_width - 20)), name_.data(),
                                     static_cast<unsigned long long>(percent));
    if (progress_.console_ != nullptr) {
        progress_.console_->flush();
    }
    // Padded to the width drawn before, so that no digit of it stays.
    const std::size_t width = std::max(std::min(static_cast<std::size_t>(std::max(length, 0)), max_width), drawn_width_);
    char line[max_width + 2];
    std::snprintf(line, sizeof line, "\r%-*s", static_cast<int>(width), visible);
    writeAll(progress_.fd_, std::string_view(line, width + 1));
    drawn_width_ = width;
    drawn_at_ = now;
    drawn_fd.store(progress_.fd_);
    drawn_width.store(width);
}

void eraseProgressOnSignal() noexcept {
    const std::size_t width = drawn_width.load();
    if (width > 0) {
        erase(drawn_fd.load(), width);
    }
}
