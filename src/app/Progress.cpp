#include "app/Progress.hpp"

#include <cerrno>
#include <unistd.h>

Progress::Progress(int fd, std::ostream* console, Clock clock, std::chrono::milliseconds delay,
                   std::chrono::milliseconds interval)
    : fd_(fd), enabled_(fd >= 0 && ::isatty(fd) == 1), console_(console), clock_(std::move(clock)), delay_(delay),
      interval_(interval) {}

void Progress::draw(std::string_view text) const {
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return; // a progress line is worth no error of its own
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

Progress::Step::Step(Progress& progress, std::string name)
    : progress_(progress), name_(std::move(name)), start_(progress.enabled_ ? progress.clock_() : decltype(start_){}) {}

Progress::Step::~Step() {
    if (drawn_width_ > 0) {
        progress_.draw("\r" + std::string(drawn_width_, ' ') + "\r");
    }
}

ProgressCallback Progress::Step::callback() {
    if (!progress_.enabled_) {
        return {};
    }
    return [this](std::uint64_t done, std::uint64_t total) { update(done, total); };
}

void Progress::Step::update(std::uint64_t done, std::uint64_t total) {
    const auto now = progress_.clock_();
    if (now - start_ < progress_.delay_ || (drawn_width_ > 0 && now - drawn_at_ < progress_.interval_)) {
        return;
    }
    const std::uint64_t percent = total == 0 ? 0 : (done >= total ? 100 : done * 100 / total);
    const std::string line = "klienti: " + name_ + " " + std::to_string(percent) + " %";
    if (progress_.console_ != nullptr) {
        progress_.console_->flush();
    }
    // Padded to the width drawn before, so that no digit of it stays.
    const std::size_t width = std::max(line.size(), drawn_width_);
    progress_.draw("\r" + line + std::string(width - line.size(), ' '));
    drawn_width_ = width;
    drawn_at_ = now;
}
