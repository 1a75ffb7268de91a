#include "query/Sort.hpp"

#include "query/Menu.hpp"
#include "query/RadixSort.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <vector>

namespace {

// Four bytes of a text field from position from, as a number that orders as
// the bytes do (unsigned, first byte most significant).
uint32_t bigEndian4(const char* field, std::size_t from) noexcept {
    uint32_t key = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        key = (key << 8) | static_cast<unsigned char>(field[from + i]);
    }
    return key;
}

// A text field of 20 bytes, zero behind its terminator and free of NUL bytes
// before it, is taken as three numbers: bytes 0 to 7, 8 to 15 and 16 to 19.
// Compared one after the other they order exactly as the byte-wise
// comparison of the texts: a shorter text has zero bytes where the longer
// one goes on, and zero orders before any character. The first number goes
// with the entry through the radix passes; the other two wait in a table by
// position and are read only where first numbers tie. Both are kept to
// twelve bytes an entry, since a million entries live beside the records.
struct TextEntry {
    uint32_t high; // bytes 0 to 3
    uint32_t low;  // bytes 4 to 7
    uint32_t position;
    uint64_t first8() const noexcept { return uint64_t{high} << 32 | low; }
};
struct TextRest {
    uint32_t b8;  // bytes 8 to 11
    uint32_t b12; // bytes 12 to 15
    uint32_t b16; // bytes 16 to 19
};
static_assert(sizeof(TextEntry) == 12 && sizeof(TextRest) == 12);
static_assert(sizeof(Klient::Field20) == 20);

// A signed number as an unsigned one of the same order.
uint64_t orderedNumber(int32_t x) noexcept { return static_cast<uint32_t>(x) ^ 0x80000000u; }

// Fewer entries than this are not worth a part of their own.
constexpr std::size_t min_part = 4096;

// Orders entries stably on every worker: the entries are cut into one part
// per worker, the parts are ordered side by side by sortPart(part, its
// scratch), then merged in pairs (side by side again) by less, which must
// order entries of equal keys by their position. One worker orders them all
// at once. The scratch array serves the parts first and the merges after.
template <typename Entry, typename SortPart, typename Less>
void sortInParts(std::vector<Entry>& entries, unsigned workers, SortPart sortPart, Less less,
                 const ProgressCallback& progress) {
    const std::size_t n = entries.size();
    const std::size_t parts = n < min_part * 2 ? 1 : std::min<std::size_t>(workers, n / min_part);
    std::vector<std::size_t> bounds;
    for (std::size_t part = 0; part <= parts; ++part) {
        bounds.push_back(n * part / parts);
    }
    std::vector<Entry> scratch(n);
    runSideBySide(parts, [&](std::size_t part) {
        const std::size_t size = bounds[part + 1] - bounds[part];
        sortPart(std::span<Entry>(entries).subspan(bounds[part], size),
                 std::span<Entry>(scratch).subspan(bounds[part], size));
    });
    if (progress) {
        progress(3 * n / 2, 2 * n);
    }
    for (std::size_t width = 1; width < parts; width *= 2) {
        runSideBySide((parts + 2 * width - 1) / (2 * width), [&](std::size_t pair) {
            const std::size_t from = bounds[2 * width * pair];
            const std::size_t middle = bounds[std::min(parts, 2 * width * pair + width)];
            const std::size_t to = bounds[std::min(parts, 2 * width * (pair + 1))];
            std::merge(entries.begin() + static_cast<std::ptrdiff_t>(from),
                       entries.begin() + static_cast<std::ptrdiff_t>(middle),
                       entries.begin() + static_cast<std::ptrdiff_t>(middle),
                       entries.begin() + static_cast<std::ptrdiff_t>(to),
                       scratch.begin() + static_cast<std::ptrdiff_t>(from), less);
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

// The table's entries at the positions given.
template <typename Position>
std::vector<Klient*> entriesAt(Klient* const* tabulka, std::size_t n, unsigned workers, Position position) {
    std::vector<Klient*> ordered(n);
    forEachIndex(n, workers, [&](std::size_t i) { ordered[i] = tabulka[position(i)]; });
    return ordered;
}

// Each function below gives the table's entries in their new order.

std::vector<Klient*> sortByText(Klient* const* tabulka, std::size_t n, SortMenuItem::TextKey key, unsigned workers,
                                const ProgressCallback& progress) {
    std::vector<TextEntry> entries(n);
    std::vector<TextRest> rests(n);
    forEachIndex(n, workers, [&](std::size_t i) {
        const char* field = key(*tabulka[i]);
        entries[i] = {bigEndian4(field, 0), bigEndian4(field, 4), static_cast<uint32_t>(i)};
        rests[i] = {bigEndian4(field, 8), bigEndian4(field, 12), bigEndian4(field, 16)};
    });
    if (progress) {
        progress(n, 2 * n);
    }
    // Texts alike in their first eight bytes are ordered by the rest, and
    // equal texts by their position.
    const auto less = [&rests](const TextEntry& x, const TextEntry& y) {
        if (x.first8() != y.first8()) {
            return x.first8() < y.first8();
        }
        const TextRest& a = rests[x.position];
        const TextRest& b = rests[y.position];
        if (a.b8 != b.b8) {
            return a.b8 < b.b8;
        }
        if (a.b12 != b.b12) {
            return a.b12 < b.b12;
        }
        if (a.b16 != b.b16) {
            return a.b16 < b.b16;
        }
        return x.position < y.position;
    };
    const auto sortPart = [&less, &rests](std::span<TextEntry> part, std::span<TextEntry> scratch) {
        stableRadixSort(part, scratch, [](const TextEntry& e) { return e.first8(); }, 0, 7);
        // A run whose texts are equal throughout is in position order already.
        for (std::size_t from = 0; from < part.size();) {
            std::size_t to = from + 1;
            bool equal = true;
            const TextRest& rest = rests[part[from].position];
            for (; to < part.size() && part[to].first8() == part[from].first8(); ++to) {
                const TextRest& other = rests[part[to].position];
                equal = equal && other.b8 == rest.b8 && other.b12 == rest.b12 && other.b16 == rest.b16;
            }
            if (!equal) {
                std::sort(part.begin() + static_cast<std::ptrdiff_t>(from), part.begin() + static_cast<std::ptrdiff_t>(to),
                          less);
            }
            from = to;
        }
    };
    sortInParts(entries, workers, sortPart, less, progress);
    rests = {};
    return entriesAt(tabulka, n, workers, [&](std::size_t i) { return entries[i].position; });
}

std::vector<Klient*> sortByNumber(Klient* const* tabulka, std::size_t n, SortMenuItem::NumberKey key,
                                  const Datum& dnes, unsigned workers, const ProgressCallback& progress) {
    // The key in the upper half, the position in the lower: one word per
    // entry, whose order is the stable order.
    std::vector<uint64_t> entries(n);
    forEachIndex(n, workers, [&](std::size_t i) { entries[i] = orderedNumber(key(*tabulka[i], dnes)) << 32 | i; });
    if (progress) {
        progress(n, 2 * n);
    }
    sortInParts(
        entries, workers,
        [](std::span<uint64_t> part, std::span<uint64_t> scratch) {
            stableRadixSort(part, scratch, [](uint64_t e) { return e; }, 4, 7);
        },
        std::less<uint64_t>(), progress);
    return entriesAt(tabulka, n, workers, [&](std::size_t i) { return static_cast<uint32_t>(entries[i]); });
}

} // namespace

std::optional<SortCriterion> sortCriterionFor(char digit) noexcept { return criterionFor(sort_menu, digit); }

static_assert(listedInOrder(sort_menu));
const SortMenuItem& menuItem(SortCriterion kriterium) noexcept {
    return sort_menu[static_cast<std::size_t>(kriterium)];
}

std::vector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                                 const ProgressCallback& progress, unsigned workers) {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    if (n < 2) {
        return std::vector<Klient*>(tabulka, tabulka + n);
    }
    workers = std::max(workers, 1u);
    const SortMenuItem& item = menuItem(kriterium);
    if (const auto* text = std::get_if<SortMenuItem::TextKey>(&item.key)) {
        return sortByText(tabulka, n, *text, workers, progress);
    }
    return sortByNumber(tabulka, n, std::get<SortMenuItem::NumberKey>(item.key), dnes, workers, progress);
}
