#pragma once

#include "memory/MemoryBlock.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

// How texts (first name, surname, city, occupation) order: by their bytes, or
// by ICU's Slovak collation (a ä b c č d e ... h ch i ... o ô ... s š t ... z ž,
// where accents that make no letter of their own, as in á, ď or ľ, and then
// capitals decide only between texts whose letters tie). The records keep
// their bytes; for the collation alone a text that is valid UTF-8 is read as
// UTF-8, any other as windows-1250, the code page of Slovak spreadsheets.

enum class Collation { bytes, sk };

// The collation an option's value names ("bytes", "sk"); none for anything else.
std::optional<Collation> collationFor(std::string_view name) noexcept;

// ICU could not open the collator or the code page, or failed within them;
// what() names ICU's error. Running out of memory is std::bad_alloc instead.
class CollationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The dense rank of each text in the Slovak collation: ranks[i] < ranks[j]
// exactly where texts[i] orders before texts[j], equal ranks where ICU's sort
// keys are equal (the same name in UTF-8 and in windows-1250, texts that
// differ only in characters the collation ignores), and every rank from 0 to
// the highest taken. Meant for distinct texts (a text given twice gets one
// rank twice), fewer than 2^32 of them, of any bytes, each of at most 64 KiB
// (a longer one is a CollationError). Each text is keyed once,
// the keys made by workers threads, each with a collator of its own; ordering
// the keys is linear but for runs alike in their first eight bytes.
// Throws CollationError, std::bad_alloc.
HugeVector<uint32_t> slovakRanks(std::span<const std::string_view> texts, unsigned workers = 1);

namespace detail {
// slovakRanks with ICU's locale and the single-byte code page of texts that are
// not UTF-8 named, so that a collator or a code page that cannot be had can be
// tried. A locale ICU has no collation of its own for is refused, not served by
// ICU's root collation.
HugeVector<uint32_t> collationRanks(std::span<const std::string_view> texts, const char* locale,
                                    const char* code_page, unsigned workers);
} // namespace detail
