#include "progress/Progress.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

using namespace std::chrono_literals;
constexpr auto delay = 500ms;    // a step shorter than this shows nothing
constexpr auto interval = 250ms; // between two drawings of the line

// The longest line drawn: longer names are cut.
constexpr std::size_t max_width = 120;

// The line on the screen, for whoever erases it: its step, the console, an
// ending signal's clean-up. Width 0: none is drawn. Drawn and erased only
// while that clean-up is held off: once it has erased the line, none draws it.
int drawn_fd = -1;
std::size_t drawn_width = 0;

} // namespace

void eraseProgress() noexcept {
    const auto held = holdOffEndingSignals();
    const std::size_t width = std::exchange(drawn_width, 0);
    if (width == 0) {
        return;
    }
    // A carriage return, blanks over the line and a carriage return, in one write.
    char blank[max_width + 2];
    std::memset(blank, ' ', sizeof blank);
    blank[0] = '\r';
    blank[width + 1] = '\r';
    DescriptorSink(drawn_fd).write({blank, width + 2}); // a progress line is worth no error of its own
}

Progress::Progress(int fd, Clock clock) : fd_(fd), enabled_(fd >= 0 && ::isatty(fd) == 1), clock_(std::move(clock)) {}

ProgressCallback Progress::Step::callback() noexcept {
    const auto update = [](void* step, std::uint64_t done, std::uint64_t total) {
        static_cast<Step*>(step)->update(done, total);
    };
    return progress_.enabled_ ? ProgressCallback(update, this) : ProgressCallback();
}

void Progress::Step::update(std::uint64_t done, std::uint64_t total) noexcept {
    const auto held = holdOffEndingSignals();
    const auto now = progress_.clock_();
    const std::size_t drawn = drawn_width;
    if (now - start_ < delay || (drawn > 0 && now - drawn_at_ < interval)) {
        return;
    }
    const std::uint64_t percent = total == 0 ? 0 : (done >= total ? 100 : done * 100 / total);
    char visible[max_width + 1];
    const int length = std::snprintf(visible, sizeof visible, "klienti: %.*s %llu %%",
                                     static_cast<int>(std::min(name_.size(), max_width - 20)), name_.data(),
                                     static_cast<unsigned long long>(percent));
    // Padded to the width drawn before, so that no digit of it stays.
    const std::size_t width = std::max(std::min(static_cast<std::size_t>(std::max(length, 0)), max_width), drawn);
    char line[max_width + 2];
    std::snprintf(line, sizeof line, "\r%-*s", static_cast<int>(width), visible);
    drawn_fd = progress_.fd_;
    drawn_width = width;
    DescriptorSink(progress_.fd_).write({line, width + 1});
    drawn_at_ = now;
}
