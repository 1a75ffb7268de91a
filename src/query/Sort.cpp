#include "query/Sort.hpp"

#include "query/RadixSort.hpp"
#include "text/FixedText.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// Four bytes of a text field from position from, as a number that orders as
// the bytes do (unsigned, first byte most significant).
uint32_t bigEndian4(const char* field, std::size_t from) noexcept {
    const auto byte = [&](std::size_t i) { return uint32_t{static_cast<unsigned char>(field[from + i])}; };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

// A 20-byte text field, zero behind its terminator and free of NUL before it,
// orders byte-wise exactly as its bytes 0 to 7, 8 to 15 and 16 to 19 taken as
// numbers one after the other: a shorter text has zeros where a longer goes on.
// Descending, every byte is flipped, which reverses that order. The first
// number travels with the entry through the radix passes; the rest wait in a
// table by position, read only where first numbers tie. Twelve bytes an entry
// each, since a million entries live beside the records.
struct TextEntry {
    uint32_t high; // bytes 0 to 3
    uint32_t low;  // bytes 4 to 7
    uint32_t position;
    uint64_t first8() const noexcept { return uint64_t{high} << 32 | low; }
};
struct TextRest {
    uint32_t b8, b12, b16; // bytes 8 to 11, 12 to 15, 16 to 19
    bool operator==(const TextRest&) const = default;
};
static_assert(sizeof(TextEntry) == 12 && sizeof(TextRest) == 12);
static_assert(sizeof(Klient::Field20) == 20);

// A signed number as an unsigned one of the same order.
uint32_t orderedNumber(int32_t x) noexcept { return static_cast<uint32_t>(x) ^ 0x80000000u; }

// Orders entries stably: one part per worker sorted side by side by sortPart(part,
// its scratch), then merged in pairs by less, which must order equal keys by
// position. scratch serves the parts first and the merges after.
template <typename Entry, typename SortPart, typename Less>
void sortInParts(HugeVector<Entry>& entries, unsigned workers, SortPart sortPart, Less less,
                 const ProgressCallback& progress) {
    const std::size_t n = entries.size();
    const std::size_t parts = partCount(n, workers);
    const auto bound = [n, parts](std::size_t part) { return n * part / parts; };
    HugeVector<Entry> scratch(n);
    forEachPart(n, workers, [&](std::size_t, std::size_t from, std::size_t to) {
        sortPart(std::span(entries).subspan(from, to - from), std::span(scratch).subspan(from, to - from));
    });
    progress(3 * n / 2, 2 * n);
    for (std::size_t width = 1; width < parts; width *= 2) {
        runSideBySide((parts + 2 * width - 1) / (2 * width), [&](std::size_t pair) {
            Entry* const from = entries.data() + bound(2 * width * pair);
            Entry* const middle = entries.data() + bound(std::min(parts, 2 * width * pair + width));
            Entry* const to = entries.data() + bound(std::min(parts, 2 * width * (pair + 1)));
            std::merge(from, middle, middle, to, scratch.data() + (from - entries.data()), less);
        });
        entries.swap(scratch);
    }
}

// Runs each(i) for every i of [0, n), the parts side by side.
template <typename Each>
void forEachIndex(std::size_t n, unsigned workers, Each each) {
    forEachPart(n, workers, [&](std::size_t, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            each(i);
        }
    });
}

// The table in the order of the entries' positions.
template <typename Entry, typename Position>
HugeVector<Klient*> inOrder(Klient* const* tabulka, const HugeVector<Entry>& entries, unsigned workers,
                            Position position) {
    HugeVector<Klient*> ordered(entries.size());
    forEachIndex(entries.size(), workers, [&](std::size_t i) { ordered[i] = tabulka[position(entries[i])]; });
    return ordered;
}

// The entries of the table in the order of a text field's bytes, each with
// its position in the table.
HugeVector<TextEntry> textOrder(Klient* const* tabulka, std::size_t n, TextKey key, bool descending,
                                unsigned workers, const ProgressCallback& progress) {
    const uint32_t flip = descending ? 0xFFFFFFFFu : 0;
    // A text of under eight bytes ends within them: its rest is zeros.
    const auto endsWithin8 = [flip](const TextEntry& e) { return ((e.low ^ flip) & 0xFF) == 0; };
    HugeVector<TextEntry> entries(n);
    HugeVector<TextRest> rests(n);
    forEachIndex(n, workers, [&](std::size_t i) {
        const char* field = key(*tabulka[i]);
        entries[i] = {bigEndian4(field, 0) ^ flip, bigEndian4(field, 4) ^ flip, static_cast<uint32_t>(i)};
        rests[i] = {bigEndian4(field, 8) ^ flip, bigEndian4(field, 12) ^ flip, bigEndian4(field, 16) ^ flip};
    });
    progress(n, 2 * n);
    const auto less = [&](const TextEntry& x, const TextEntry& y) {
        if (x.first8() != y.first8()) {
            return x.first8() < y.first8();
        }
        if (endsWithin8(x)) { // and so does y: the same text
            return x.position < y.position;
        }
        const TextRest& a = rests[x.position];
        const TextRest& b = rests[y.position];
        return std::tie(a.b8, a.b12, a.b16, x.position) < std::tie(b.b8, b.b12, b.b16, y.position);
    };
    const auto sortPart = [&](std::span<TextEntry> part, std::span<TextEntry> scratch) {
        stableRadixSort(part, scratch, [](const TextEntry& e) { return e.first8(); }, 0, 7);
        // A run whose texts are equal throughout is in position order already.
        for (std::size_t from = 0, to = 0; from < part.size(); from = to) {
            const uint64_t first8 = part[from].first8();
            const TextRest& rest = rests[part[from].position];
            bool equal = true;
            for (to = from + 1; to < part.size() && part[to].first8() == first8; ++to) {
                equal = equal && (endsWithin8(part[to]) || rests[part[to].position] == rest);
            }
            if (!equal) {
                const std::span<TextEntry> run = part.subspan(from, to - from);
                std::sort(run.begin(), run.end(), less);
            }
        }
    };
    sortInParts(entries, workers, sortPart, less, progress);
    return entries;
}

HugeVector<Klient*> sortByText(Klient* const* tabulka, std::size_t n, TextKey key, bool descending, unsigned workers,
                                const ProgressCallback& progress) {
    return inOrder(tabulka, textOrder(tabulka, n, key, descending, workers, progress), workers,
                   [](const TextEntry& e) { return e.position; });
}

// Orders by value(i), an unsigned number for entry i.
template <typename Value>
HugeVector<Klient*> sortByNumber(Klient* const* tabulka, std::size_t n, Value value, unsigned workers,
                                  const ProgressCallback& progress) {
    // The key in the upper half, the position in the lower: one word per
    // entry, whose order is the stable order.
    HugeVector<uint64_t> entries(n);
    forEachIndex(n, workers, [&](std::size_t i) { entries[i] = uint64_t{value(i)} << 32 | i; });
    progress(n, 2 * n);
    const auto sortPart = [](std::span<uint64_t> part, std::span<uint64_t> scratch) {
        stableRadixSort(part, scratch, [](uint64_t e) { return e; }, 4, 7);
    };
    sortInParts(entries, workers, sortPart, std::less<uint64_t>(), progress);
    return inOrder(tabulka, entries, workers, [](uint64_t e) { return static_cast<uint32_t>(e); });
}

// By the Slovak collation: the texts in byte order first, so that equal ones
// lie together and each distinct text is collated once; then by their ranks.
HugeVector<Klient*> sortByCollation(Klient* const* tabulka, std::size_t n, TextKey key, bool descending,
                                    unsigned workers, const ProgressCallback& progress) {
    HugeVector<uint32_t> text_of(n); // the distinct text of each entry
    HugeVector<std::string_view> texts;
    {
        const HugeVector<TextEntry> by_bytes = textOrder(tabulka, n, key, false, workers, {});
        for (const TextEntry& e : by_bytes) {
            const std::string_view text = viewFixedText(key(*tabulka[e.position]));
            if (texts.empty() || texts.back() != text) {
                texts.push_back(text);
            }
            text_of[e.position] = static_cast<uint32_t>(texts.size() - 1);
        }
    }
    const HugeVector<uint32_t> ranks = slovakRanks(texts, workers);
    texts = {};
    const uint32_t flip = descending ? 0xFFFFFFFFu : 0;
    return sortByNumber(
        tabulka, n, [&](std::size_t i) { return ranks[text_of[i]] ^ flip; }, workers, progress);
}

HugeVector<Klient*> sortByKey(Klient* const* tabulka, std::size_t n, SortKey key, const Datum& dnes,
                               Collation collation, unsigned workers, const ProgressCallback& progress) {
    const auto& item = menuItem(key.kriterium).key;
    if (const auto* text = std::get_if<TextKey>(&item)) {
        return collation == Collation::sk ? sortByCollation(tabulka, n, *text, key.descending, workers, progress)
                                          : sortByText(tabulka, n, *text, key.descending, workers, progress);
    }
    const auto number = std::get<SortMenuItem::NumberKey>(item);
    const uint32_t flip = key.descending ? 0xFFFFFFFFu : 0;
    return sortByNumber(
        tabulka, n, [&](std::size_t i) { return orderedNumber(number(*tabulka[i], dnes)) ^ flip; }, workers,
        progress);
}

// Tells progress of one key of several, as a share of them all.
struct KeyProgress {
    const ProgressCallback& whole;
    uint64_t key, keys;
    static void told(void* self, uint64_t done, uint64_t total) {
        const auto& p = *static_cast<const KeyProgress*>(self);
        p.whole(p.key * total + done, p.keys * total);
    }
};

} // namespace

HugeVector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, std::span<const SortKey> keys,
                                 const Datum& dnes, Collation collation, const ProgressCallback& progress,
                                 unsigned workers) {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    if (n < 2 || keys.empty()) {
        return HugeVector<Klient*>(tabulka, tabulka + n);
    }
    workers = std::max(workers, 1u);
    // Stable sorts from the least important key: each keeps the order of
    // the ones after it among entries it holds equal.
    HugeVector<Klient*> ordered;
    for (std::size_t k = keys.size(); k-- > 0;) {
        KeyProgress share{progress, keys.size() - 1 - k, keys.size()};
        const ProgressCallback told = progress ? ProgressCallback(KeyProgress::told, &share) : ProgressCallback();
        ordered = sortByKey(ordered.empty() ? tabulka : ordered.data(), n, keys[k], dnes, collation, workers, told);
    }
    return ordered;
}
