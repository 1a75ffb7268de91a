#pragma once

#include "model/Decimal.hpp"
#include "model/FixedText.hpp"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// A fixed buffer in which the writers assemble their text before handing it
// on in large pieces. A writer first asks for room for a whole record
// (hasRoom) with a bound that the record's fixed-width fields guarantee, and
// then appends without further checks; so no append ever passes the end.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t kapacita)
        : data_(std::make_unique_for_overwrite<char[]>(kapacita)), kapacita_(kapacita) {}

    bool hasRoom(std::size_t n) const noexcept { return kapacita_ - dlzka_ >= n; }

    void text(std::string_view s) noexcept {
        std::memcpy(data_.get() + dlzka_, s.data(), s.size());
        dlzka_ += s.size();
    }
    // A fixed-width field: all N bytes are copied at once (a constant size
    // costs a couple of moves, not a call), then only its text is kept.
    // Needs room for N bytes, one more than the longest text of the field.
    template <std::size_t N>
    void pole(const char (&pole)[N]) noexcept {
        std::memcpy(data_.get() + dlzka_, pole, N);
        dlzka_ += fixedTextLength(pole);
    }
    void znak(char c) noexcept { data_[dlzka_++] = c; }
    // Needs room for max_dlzka_cisla characters.
    void cislo(int32_t hodnota) noexcept { dlzka_ += formatDecimal(data_.get() + dlzka_, hodnota); }

    std::string_view obsah() const noexcept { return {data_.get(), dlzka_}; }
    void vyprazdni() noexcept { dlzka_ = 0; }

private:
    std::unique_ptr<char[]> data_;
    std::size_t kapacita_;
    std::size_t dlzka_ = 0;
};
