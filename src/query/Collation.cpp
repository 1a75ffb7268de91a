#include "query/Collation.hpp"

#include "query/RadixSort.hpp"
#include "threads/SideBySide.hpp"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

std::optional<Collation> collationFor(std::string_view name) noexcept {
    if (name == "bytes") {
        return Collation::bytes;
    }
    if (name == "sk") {
        return Collation::sk;
    }
    return std::nullopt;
}

namespace {

// ICU's failures as exceptions; its warnings pass.
void check(UErrorCode status, const char* doing) {
    if (status == U_MEMORY_ALLOCATION_ERROR) {
        throw std::bad_alloc();
    }
    if (U_FAILURE(status)) {
        throw CollationError(std::string(doing) + ": " + u_errorName(status));
    }
}

struct CollatorClose {
    void operator()(UCollator* collator) const noexcept { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CollatorClose>;

Collator openCollator(const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(locale, &status));
    check(status, "ICU cannot open the collator");
    // ICU's root collation stands in where its data have none for the
    // locale: no Slovak letters, a plainly wrong order.
    if (status == U_USING_DEFAULT_WARNING) {
        throw CollationError(std::string("ICU has no collation for the locale ") + locale);
    }
    return collator;
}

Collator cloneCollator(const UCollator* collator) {
    UErrorCode status = U_ZERO_ERROR;
    Collator clone(ucol_clone(collator, &status));
    check(status, "ICU cannot clone the collator");
    return clone;
}

// The character of each byte in a single-byte code page, as ICU's converter
// reads it (windows-1250 reads its five unassigned bytes as the C1 controls
// of the same value, which the collation ignores). Stateless, so a text
// reads byte by byte, on any thread.
using CodePage = std::array<UChar, 256>;

CodePage codePage(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open(name, &status), ucnv_close);
    check(status, "ICU cannot open the code page");
    std::array<char, 256> bytes;
    for (std::size_t b = 0; b < bytes.size(); ++b) {
        bytes[b] = static_cast<char>(b);
    }
    CodePage table;
    status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter.get(), table.data(), static_cast<int32_t>(table.size()), bytes.data(),
                                         static_cast<int32_t>(bytes.size()), &status);
    check(status, "ICU cannot read the code page");
    if (length != static_cast<int32_t>(table.size())) {
        throw CollationError(std::string("a byte is not one character in the code page ") + name);
    }
    return table;
}

// The text's characters, in chars: as UTF-8 where it is valid UTF-8 (plain
// ASCII reads the same either way), else a byte each by the code page.
// chars has room for one more than the text's bytes.
int32_t decode(std::string_view text, const CodePage& code_page, UChar* chars) {
    const auto length = static_cast<int32_t>(text.size());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t i = 0;
    while (i < text.size() && byte(i) < 0x80) {
        chars[i] = byte(i);
        ++i;
    }
    if (i == text.size()) {
        return length;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t decoded = 0;
    u_strFromUTF8(chars, length + 1, &decoded, text.data(), length, &status);
    if (status != U_INVALID_CHAR_FOUND) {
        check(status, "ICU cannot read UTF-8");
        return decoded;
    }
    for (i = 0; i < text.size(); ++i) {
        chars[i] = code_page[byte(i)];
    }
    return length;
}

// Appends the sort key of chars to keys; returns its length, its terminating
// zero included (a key holds no other zero byte, so keys order as memcmp
// orders them up to the shorter one's end).
uint32_t appendSortKey(const UCollator* collator, const UChar* chars, int32_t length, HugeVector<uint8_t>& keys) {
    const std::size_t at = keys.size();
    // Room for the keys of Latin texts; a longer key is asked for again.
    const std::size_t room = 4 * static_cast<std::size_t>(length) + 16;
    keys.resize(at + room);
    int32_t key_length = ucol_getSortKey(collator, chars, length, keys.data() + at, static_cast<int32_t>(room));
    if (key_length > 0 && static_cast<std::size_t>(key_length) > room) {
        keys.resize(at + static_cast<std::size_t>(key_length));
        key_length = ucol_getSortKey(collator, chars, length, keys.data() + at, key_length);
    }
    if (key_length <= 0) {
        throw CollationError("ICU could not make a sort key");
    }
    keys.resize(at + static_cast<std::size_t>(key_length));
    return static_cast<uint32_t>(key_length);
}

// A text's sort key by its first eight bytes, as a number that orders as they
// do (first byte most significant, zeros behind the key's end), and its
// length: keys with the same first eight bytes of which one has at most
// eight are the same key. Sixteen bytes, moved by every radix pass.
struct Entry {
    uint64_t first8;
    uint32_t text;
    uint32_t length;
};
static_assert(sizeof(Entry) == 16);

uint64_t first8(const uint8_t* key, uint32_t length) noexcept {
    uint64_t first = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        first = first << 8 | (i < length ? key[i] : 0u);
    }
    return first;
}

// Fewer texts than this are not worth a thread and a collator of their own:
// a text's key costs some 400 ns, and 10,000 texts take 3.9 ms on one worker,
// 2.3 ms on two.
constexpr std::size_t min_texts_part = 4096;

// Longer texts are refused (a field holds 19 bytes): every length ICU is
// given, a text's, its room for a key, stays far within its 32-bit counts.
constexpr std::size_t longest_text = std::size_t{1} << 16;

} // namespace

HugeVector<uint32_t> detail::collationRanks(std::span<const std::string_view> texts, const char* locale,
                                            const char* code_page_name, unsigned workers) {
    const std::size_t n = texts.size();
    if (n > std::numeric_limits<uint32_t>::max()) {
        throw CollationError("more texts than ranks can number");
    }
    const Collator collator = openCollator(locale);
    const CodePage code_page = codePage(code_page_name);
    const std::size_t parts = partCount(n, workers, min_texts_part);
    std::vector<Collator> clones;
    clones.reserve(parts - 1);
    for (std::size_t part = 1; part < parts; ++part) {
        clones.push_back(cloneCollator(collator.get()));
    }

    // Each part keys its texts into keys of its own, one key after another.
    HugeVector<Entry> entries(n);
    HugeVector<const uint8_t*> key_of(n);
    std::vector<HugeVector<uint8_t>> keys(parts);
    forEachPart(n, workers, [&](std::size_t part, std::size_t from, std::size_t to) {
        const UCollator* const part_collator = part == 0 ? collator.get() : clones[part - 1].get();
        std::size_t bytes = 0;
        std::size_t longest = 0;
        for (std::size_t i = from; i < to; ++i) {
            if (texts[i].size() > longest_text) {
                throw CollationError("a text too long to collate");
            }
            bytes += texts[i].size();
            longest = std::max(longest, texts[i].size());
        }
        // Untouched room costs nothing: the keys of Latin texts fit. The
        // keys grow on this thread's own (keys[part] shares a cache line
        // with other parts' keys: growing it there took two threads as long
        // as one).
        HugeVector<uint8_t> part_keys;
        part_keys.reserve(3 * bytes + 16 * (to - from));
        std::vector<UChar> chars(longest + 1);
        for (std::size_t i = from; i < to; ++i) {
            const int32_t length = decode(texts[i], code_page, chars.data());
            entries[i] = {0, static_cast<uint32_t>(i), appendSortKey(part_collator, chars.data(), length, part_keys)};
        }
        keys[part] = std::move(part_keys);
        std::size_t at = 0;
        for (std::size_t i = from; i < to; ++i) {
            key_of[i] = keys[part].data() + at;
            entries[i].first8 = first8(key_of[i], entries[i].length);
            at += entries[i].length;
        }
    }, min_texts_part);

    const auto same = [&key_of](const Entry& x, const Entry& y) {
        return x.first8 == y.first8 &&
               (x.length <= 8 ||
                (x.length == y.length && std::memcmp(key_of[x.text] + 8, key_of[y.text] + 8, x.length - 8) == 0));
    };
    {
        HugeVector<Entry> scratch(n);
        stableRadixSort(std::span(entries), std::span(scratch), [](const Entry& e) { return e.first8; }, 0, 7);
    }
    // Runs alike in their first eight bytes, of keys that go on beyond them,
    // ordered by the rest.
    for (std::size_t from = 0, to = 0; from < n; from = to) {
        for (to = from + 1; to < n && entries[to].first8 == entries[from].first8; ++to) {
        }
        if (to - from > 1 && entries[from].length > 8) {
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(from),
                      entries.begin() + static_cast<std::ptrdiff_t>(to), [&key_of](const Entry& x, const Entry& y) {
                          return std::memcmp(key_of[x.text] + 8, key_of[y.text] + 8,
                                             std::min(x.length, y.length) - 8) < 0;
                      });
        }
    }
    HugeVector<uint32_t> ranks(n);
    uint32_t rank = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && !same(entries[k - 1], entries[k])) {
            ++rank;
        }
        ranks[entries[k].text] = rank;
    }
    return ranks;
}

HugeVector<uint32_t> slovakRanks(std::span<const std::string_view> texts, unsigned workers) {
    return detail::collationRanks(texts, "sk", "windows-1250", workers);
}
