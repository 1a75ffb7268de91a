#pragma once

#include "progress/ProgressCallback.hpp"
#include "signals/EndingSignals.hpp"
#include "sink/ByteSink.hpp"

#include <chrono>
#include <functional>
#include <string_view>

// Erases the progress line, if one is drawn.
void eraseProgress() noexcept;

// One line of progress for long steps, "klienti: nacitavanie klienti.csv 45 %",
// drawn once a step has run half a second and redrawn in place a few times a
// second at most; nothing unless fd is a terminal. Drawing allocates nothing,
// so a step may report while a cycle shows its result. The line is erased when
// its step ends and before any other text reaches the terminal (ClearOfProgress),
// and a later report draws it anew; erased by an ending signal, it stays so.
class Progress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit Progress(int fd = -1, Clock clock = std::chrono::steady_clock::now);

    // A step; the name must outlive it.
    class Step {
    public:
        Step(Progress& progress, std::string_view name)
            : progress_(progress), name_(name), start_(progress.enabled_ ? progress.clock_() : decltype(start_){}) {}
        ~Step() { eraseProgress(); }
        Step(const Step&) = delete;
        ProgressCallback callback() noexcept; // empty where nothing is drawn

    private:
        void update(std::uint64_t done, std::uint64_t total) noexcept;
        Progress& progress_;
        std::string_view name_;
        std::chrono::steady_clock::time_point start_;
        std::chrono::steady_clock::time_point drawn_at_{};
        OnEndingSignal erase_{[](void*) noexcept { eraseProgress(); }, nullptr};
    };

private:
    int fd_;
    bool enabled_;
    Clock clock_;
};

// A console's sink that first erases a drawn progress line, so that no text
// lands on it.
class ClearOfProgress final : public ByteSink {
public:
    explicit ClearOfProgress(ByteSink& console) noexcept : console_(console) {}
    bool write(std::string_view bytes) noexcept override {
        eraseProgress();
        return console_.write(bytes);
    }

private:
    ByteSink& console_;
};
