#include "query/Sort.hpp"

#include "query/Menu.hpp"
#include "query/RadixSort.hpp"

#include <algorithm>
#include <cstring>
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

// Keys are taken in the first half of the work, the radix passes do the rest.
class SortProgress {
public:
    SortProgress(const ProgressCallback& progress, std::size_t n) : progress_(progress), n_(n) {}
    void keysTaken(std::size_t i) const {
        if (progress_ && i % (std::size_t{1} << 18) == 0) {
            progress_(i, 2 * n_);
        }
    }
    void passDone(unsigned pass, unsigned passes) const {
        if (progress_) {
            progress_(n_ + n_ * (pass + 1) / passes, 2 * n_);
        }
    }

private:
    const ProgressCallback& progress_;
    std::size_t n_;
};

std::vector<uint32_t> sortByText(Klient* const* tabulka, std::size_t n, SortMenuItem::TextKey key,
                                 const SortProgress& progress) {
    std::vector<TextEntry> entries(n);
    std::vector<TextRest> rests(n);
    for (std::size_t i = 0; i < n; ++i) {
        progress.keysTaken(i);
        const char* field = key(*tabulka[i]);
        entries[i] = {bigEndian4(field, 0), bigEndian4(field, 4), static_cast<uint32_t>(i)};
        rests[i] = {bigEndian4(field, 8), bigEndian4(field, 12), bigEndian4(field, 16)};
    }
    stableRadixSort(entries, [](const TextEntry& e) { return e.first8(); }, 0, 7,
                    [&](unsigned pass, unsigned passes) { progress.passDone(pass, passes); });
    // Texts alike in their first eight bytes are ordered by the rest. Only a
    // prefix whose last byte is a character can go on; the position keeps
    // equal texts in their order.
    const auto byRest = [&rests](const TextEntry& x, const TextEntry& y) {
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
    for (std::size_t from = 0; from < n;) {
        std::size_t to = from + 1;
        while (to < n && entries[to].first8() == entries[from].first8()) {
            ++to;
        }
        if (to - from > 1 && (entries[from].low & 0xFF) != 0) {
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(from),
                      entries.begin() + static_cast<std::ptrdiff_t>(to), byRest);
        }
        from = to;
    }
    rests = {};
    std::vector<uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = entries[i].position;
    }
    return order;
}

std::vector<uint32_t> sortByNumber(Klient* const* tabulka, std::size_t n, SortMenuItem::NumberKey key,
                                   const Datum& dnes, const SortProgress& progress) {
    // The key in the upper half, the position in the lower: one word per entry.
    std::vector<uint64_t> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        progress.keysTaken(i);
        entries[i] = orderedNumber(key(*tabulka[i], dnes)) << 32 | i;
    }
    stableRadixSort(entries, [](uint64_t e) { return e; }, 4, 7,
                    [&](unsigned pass, unsigned passes) { progress.passDone(pass, passes); });
    std::vector<uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = static_cast<uint32_t>(entries[i]);
    }
    return order;
}

} // namespace

std::optional<SortCriterion> sortCriterionFor(char digit) noexcept { return criterionFor(sort_menu, digit); }

static_assert(listedInOrder(sort_menu));
static_assert([] {
    for (const SortMenuItem& item : sort_menu) {
        if ((item.text == nullptr) == (item.number == nullptr)) {
            return false;
        }
    }
    return true;
}(), "every criterion of the ordering menu has one key, a text or a number");
const SortMenuItem& menuItem(SortCriterion kriterium) noexcept {
    return sort_menu[static_cast<std::size_t>(kriterium)];
}

int32_t compareClients(const Klient* a, const Klient* b, SortCriterion kriterium, const Datum& dnes) noexcept {
    const SortMenuItem& item = menuItem(kriterium);
    if (item.text != nullptr) {
        return std::strcmp(item.text(*a), item.text(*b));
    }
    const int32_t x = item.number(*a, dnes);
    const int32_t y = item.number(*b, dnes);
    if (x < y) {
        return -1;
    }
    return x > y ? 1 : 0;
}

void sortClients(Klient** tabulka, int32_t pocet, SortCriterion kriterium, const Datum& dnes,
                 const ProgressCallback& progress) {
    if (pocet < 2) {
        return;
    }
    const auto n = static_cast<std::size_t>(pocet);
    const SortMenuItem& item = menuItem(kriterium);
    const SortProgress report(progress, n);
    const std::vector<uint32_t> order =
        item.text != nullptr ? sortByText(tabulka, n, item.text, report) : sortByNumber(tabulka, n, item.number, dnes, report);
    // The new order is built beside the table and copied in only when whole,
    // so that running out of memory leaves the table as it was.
    std::vector<Klient*> ordered(n);
    for (std::size_t i = 0; i < n; ++i) {
        ordered[i] = tabulka[order[i]];
    }
    std::copy(ordered.begin(), ordered.end(), tabulka);
}
