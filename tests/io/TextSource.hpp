#pragma once

#include "io/ClientReader.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

// A text as the reader's source: at most `piece` bytes a read, and, if
// fail_after is set, a read error (EIO) once that many bytes have been read.
class TextSource final : public ByteSource {
public:
    explicit TextSource(std::string text, std::size_t piece = std::numeric_limits<std::size_t>::max(),
                        std::optional<std::size_t> fail_after = std::nullopt)
        : text_(std::move(text)), piece_(piece), fail_after_(fail_after) {}

    std::ptrdiff_t read(char* buffer, std::size_t size) override {
        if (fail_after_ && position_ >= *fail_after_) {
            errno = EIO;
            return -1;
        }
        std::size_t n = std::min({size, piece_, text_.size() - position_});
        if (fail_after_) {
            n = std::min(n, *fail_after_ - position_);
        }
        std::memcpy(buffer, text_.data() + position_, n);
        position_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::uint64_t sizeHint() const override { return text_.size(); }

private:
    std::string text_;
    std::size_t piece_;
    std::optional<std::size_t> fail_after_;
    std::size_t position_ = 0;
};
