#pragma once

#include "progress/ProgressCallback.hpp"

#include <chrono>
#include <cstddef>
#include <functional>
#include <ostream>
#include <string_view>

// One line of progress for long steps, "klienti: nacitavanie klienti.csv 45 %",
// redrawn in place a few times a second at most, erased when the step or the
// program (by an ending signal) ends; nothing unless fd is a terminal. Drawing
// allocates nothing, so a step may report while a cycle shows its result.
class Progress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // console, if any, is flushed before the line is drawn, so that the line
    // never lands amid pending dialogue.
    explicit Progress(int fd, std::ostream* console = nullptr, Clock clock = std::chrono::steady_clock::now,
                      std::chrono::milliseconds delay = std::chrono::milliseconds(500),
                      std::chrono::milliseconds interval = std::chrono::milliseconds(250));

    // Shown once it has run for the delay, erased when the object goes. The
    // name must outlive the step.
    class Step {
    public:
        Step(Progress& progress, std::string_view name);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;
        ProgressCallback callback() noexcept; // empty where nothing is drawn

    private:
        void update(std::uint64_t done, std::uint64_t total) noexcept;
        Progress& progress_;
        std::string_view name_;
        std::chrono::steady_clock::time_point start_;
        std::chrono::steady_clock::time_point drawn_at_{};
        std::size_t drawn_width_ = 0;
    };

private:
    int fd_;
    bool enabled_;
    std::ostream* console_;
    Clock clock_;
    std::chrono::milliseconds delay_;
    std::chrono::milliseconds interval_;
};

// Erases a progress line still drawn. Safe to call from a signal handler.
void eraseProgressOnSignal() noexcept;
