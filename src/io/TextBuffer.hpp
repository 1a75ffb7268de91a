#pragma once

#include "model/FixedText.hpp"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

// A buffer in which the writers assemble text before handing it on in large
// pieces. Every append first makes room for what it writes, growing the
// buffer when it must, so no byte ever lands past its end whatever a record
// holds; the writers hand the text on long before it would have to grow.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t capacity)
        : data_(std::make_unique_for_overwrite<char[]>(capacity)), capacity_(capacity) {}

    void append(std::string_view text) {
        makeRoom(text.size());
        std::memcpy(data_.get() + size_, text.data(), text.size());
        size_ += text.size();
    }
    void append(char c) {
        makeRoom(1);
        data_[size_++] = c;
    }
    // A fixed-width text field: all N bytes are copied at once (a constant
    // size costs a couple of moves, not a call), then only its text is kept.
    template <std::size_t N>
    void appendField(const char (&field)[N]) {
        makeRoom(N);
        std::memcpy(data_.get() + size_, field, N);
        size_ += fixedTextLength(field);
    }
    // Plain decimal: no fill, no grouping, a minus sign for a negative value.
    void appendNumber(int32_t value) {
        constexpr std::size_t longest = std::numeric_limits<int32_t>::digits10 + 2; // sign and digits
        makeRoom(longest);
        char* const end = data_.get() + size_;
        size_ += static_cast<std::size_t>(std::to_chars(end, end + longest, value).ptr - end);
    }

    std::string_view text() const noexcept { return {data_.get(), size_}; }
    std::size_t size() const noexcept { return size_; }
    void clear() noexcept { size_ = 0; }

private:
    void makeRoom(std::size_t n) {
        if (n > capacity_ - size_) [[unlikely]] {
            grow(n);
        }
    }
    void grow(std::size_t n) {
        const std::size_t capacity = std::max(2 * capacity_, size_ + n);
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        std::memcpy(data.get(), data_.get(), size_);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};
