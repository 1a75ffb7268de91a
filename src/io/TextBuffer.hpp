#pragma once

#include "memory/MemoryBlock.hpp"
#include "text/FixedText.hpp"

#include <cassert>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

// The writers' text, handed on a batch at a time. Its room is fixed when made
// and an append never allocates or throws: writers take room for their most
// (counted by TextRoom, below), so no append can overflow it.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t capacity)
        : memory_(takeMemory(capacity)), data_(reinterpret_cast<char*>(memory_.get())), capacity_(capacity) {}

    void append(std::string_view text) noexcept {
        assert(fits(text.size()));
        std::memcpy(data_ + size_, text.data(), text.size());
        size_ += text.size();
    }
    void append(char c) noexcept {
        assert(fits(1));
        data_[size_++] = c;
    }
    // A fixed-width text field: all N bytes are copied at once (a constant
    // size costs a couple of moves, not a call), then only its text is kept.
    template <std::size_t N>
    void appendField(const char (&field)[N]) noexcept {
        assert(fits(N));
        std::memcpy(data_ + size_, field, N);
        size_ += fixedTextLength(field);
    }
    // Plain decimal: no fill, no grouping, a minus sign for a negative value.
    void appendNumber(int32_t value) noexcept {
        assert(fits(longest_number));
        char* const end = data_ + size_;
        size_ += static_cast<std::size_t>(std::to_chars(end, end + longest_number, value).ptr - end);
    }

    std::string_view text() const noexcept { return {data_, size_}; }
    void clear() noexcept { size_ = 0; }

    static constexpr std::size_t longest_number = std::numeric_limits<int32_t>::digits10 + 2; // sign and digits

private:
    bool fits(std::size_t n) const noexcept { return n <= capacity_ - size_; }

    MemoryBlock memory_; // a batch's text is megabytes: fresh memory, as the records
    char* data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

// Counts at compile time the most room a format run on it takes in a
// TextBuffer: writers size their buffers with it, so none overflows.
class TextRoom {
public:
    constexpr void append(std::string_view text) noexcept { size_ += text.size(); }
    constexpr void append(char) noexcept { ++size_; }
    template <std::size_t N>
    constexpr void appendField(const char (&)[N]) noexcept { size_ += N; }
    constexpr void appendNumber(int32_t) noexcept { size_ += TextBuffer::longest_number; }
    constexpr std::size_t size() const noexcept { return size_; }

private:
    std::size_t size_ = 0;
};
