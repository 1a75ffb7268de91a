#include "query/Sort.hpp"

#include "query/RadixSort.hpp"
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
// The first number travels with the entry through the radix passes; the rest
// wait in a table by position, read only where first numbers tie. Twelve bytes
// an entry each, since a million entries live beside the records.
struct TextEntry {
    uint32_t high; // bytes 0 to 3
    uint32_t low;  // bytes 4 to 7
    uint32_t position;
    uint64_t first8() const noexcept { return uint64_t{high} << 32 | low; }
    // A text of under eight bytes ends within them: its rest is zeros.
    bool endsWithin8() const noexcept { return (low & 0xFF) == 0; }
};
struct TextRest {
    uint32_t b8, b12, b16; // bytes 8 to 11, 12 to 15, 16 to 19
    bool operator==(const TextRest&) const = default;
};
static_assert(sizeof(TextEntry) == 12 && sizeof(TextRest) == 12);
static_assert(sizeof(Klient::Field20) == 20);

// A signed number as an unsigned one of the same order.
uint64_t orderedNumber(int32_t x) noexcept { return static_cast<uint32_t>(x) ^ 0x80000000u; }

// Fewer entries than this are not worth a part of their own.
constexpr std::size_t min_part = 4096;

// Orders entries stably: one part per worker sorted side by side by sortPart(part,
// its scratch), then merged in pairs by less, which must order equal keys by
// position. scratch serves the parts first and the merges after.
template <typename Entry, typename SortPart, typename Less>
void sortInParts(HugeVector<Entry>& entries, unsigned workers, SortPart sortPart, Less less,
                 const ProgressCallback& progress) {
    const std::size_t n = entries.size();
    const std::size_t parts = n < min_part * 2 ? 1 : std::min<std::size_t>(workers, n / min_part);
    const auto bound = [n, parts](std::size_t part) { return n * part / parts; };
    HugeVector<Entry> scratch(n);
    runSideBySide(parts, [&](std::size_t part) {
        const std::size_t size = bound(part + 1) - bound(part);
        sortPart(std::span(entries).subspan(bound(part), size), std::span(scratch).subspan(bound(part), size));
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

// Runs each(i) for every i of [0, n), in as many ranges as workers, side by
// side; fewer entries than a part's worth in one range.
template <typename Each>
void forEachIndex(std::size_t n, unsigned workers, Each each) {
    const std::size_t parts = n < min_part ? 1 : workers;
    runSideBySide(parts, [&](std::size_t part) {
        for (std::size_t i = n * part / parts, to = n * (part + 1) / parts; i < to; ++i) {
            each(i);
        }
    });
}

HugeVector<Klient*> sortByText(Klient* const* tabulka, std::size_t n, SortMenuItem::TextKey key, unsigned workers,
                                const ProgressCallback& progress) {
    HugeVector<TextEntry> entries(n);
    HugeVector<TextRest> rests(n);
    forEachIndex(n, workers, [&](std::size_t i) {
        const char* field = key(*tabulka[i]);
        entries[i] = {bigEndian4(field, 0), bigEndian4(field, 4), static_cast<uint32_t>(i)};
        rests[i] = {bigEndian4(field, 8), bigEndian4(field, 12), bigEndian4(field, 16)};
    });
    progress(n, 2 * n);
    const auto less = [&rests](const TextEntry& x, const TextEntry& y) {
        if (x.first8() != y.first8()) {
            return x.first8() < y.first8();
        }
        if (x.endsWithin8()) { // and so does y: the same text
            return x.position < y.position;
        }
        const TextRest& a = rests[x.position];
        const TextRest& b = rests[y.position];
        return std::tie(a.b8, a.b12, a.b16, x.position) < std::tie(b.b8, b.b12, b.b16, y.position);
    };
    const auto sortPart = [&less, &rests](std::span<TextEntry> part, std::span<TextEntry> scratch) {
        stableRadixSort(part, scratch, [](const TextEntry& e) { return e.first8(); }, 0, 7);
        // A run whose texts are equal throughout is in position order already.
        for (std::size_t from = 0, to = 0; from < part.size(); from = to) {
            const uint64_t first8 = part[from].first8();
            const TextRest& rest = rests[part[from].position];
            bool equal = true;
            for (to = from + 1; to < part.size() && part[to].first8() == first8; ++to) {
                equal = equal && (part[to].endsWithin8() || rests[part[to].position] == rest);
            }
            if (!equal) {
                const std::span<TextEntry> run = part.subspan(from, to - from);
                std::sort(run.begin(), run.end(), less);
            }
        }
    };
    sortInParts(entries, workers, sortPart, less, progress);
    rests = {};
    HugeVector<Klient*> ordered(n);
    forEachIndex(n, workers, [&](std::size_t i) { ordered[i] = tabulka[entries[i].position]; });
    return ordered;
}

HugeVector<Klient*> sortByNumber(Klient* const* tabulka, std::size_t n, SortMenuItem::NumberKey key,
                                  const Datum& dnes, unsigned workers, const ProgressCallback& progress) {
    // The key in the upper half, the position in the lower: one word per
    // entry, whose order is the stable order.
    HugeVector<uint64_t> entries(n);
    forEachIndex(n, workers, [&](std::size_t i) { entries[i] = orderedNumber(key(*tabulka[i], dnes)) << 32 | i; });
    progress(n, 2 * n);
    const auto sortPart = [](std::span<uint64_t> part, std::span<uint64_t> scratch) {
        stableRadixSort(part, scratch, [](uint64_t e) { return e; }, 4, 7);
    };
    sortInParts(entries, workers, sortPart, std::less<uint64_t>(), progress);
    HugeVector<Klient*> ordered(n);
    forEachIndex(n, workers, [&](std::size_t i) { ordered[i] = tabulka[static_cast<uint32_t>(entries[i])]; });
    return ordered;
}

} // namespace

HugeVector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                                 const ProgressCallback& progress, unsigned workers) {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    if (n < 2) {
        return HugeVector<Klient*>(tabulka, tabulka + n);
    }
    workers = std::max(workers, 1u);
    const auto& key = menuItem(kriterium).key;
    if (const auto* text = std::get_if<SortMenuItem::TextKey>(&key)) {
        return sortByText(tabulka, n, *text, workers, progress);
    }
    return sortByNumber(tabulka, n, std::get<SortMenuItem::NumberKey>(key), dnes, workers, progress);
}
