#include "query/Sort.hpp"

#include "query/RadixSort.hpp"
#include "text/FixedText.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <cstring>
#include <numeric>
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
// its position in the table; where ranks is given, each position's dense rank
// of its text in that order, equal texts equal.
HugeVector<TextEntry> textOrder(Klient* const* tabulka, std::size_t n, TextKey key, bool descending,
                                unsigned workers, const ProgressCallback& progress,
                                HugeVector<uint32_t>* ranks = nullptr) {
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
    if (ranks != nullptr) {
        ranks->resize(n);
        uint32_t rank = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const TextEntry& e = entries[i];
            const TextEntry& before = entries[i > 0 ? i - 1 : 0];
            rank += i > 0 && (e.first8() != before.first8() ||
                              (!endsWithin8(e) && !(rests[e.position] == rests[before.position])))
                        ? 1u
                        : 0u;
            (*ranks)[e.position] = rank;
        }
    }
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

// Each entry's rank in the Slovak collation: the texts in byte order first,
// so that each distinct text is collated once.
// The distinct texts of a key, each entry's in text_of, where they are few
// (an eighth of the entries at most, as names, cities and occupations are):
// found by hashing the whole fields, each record read once in table order.
// False where they are many; a byte-order pass then finds them.
bool distinctTexts(Klient* const* tabulka, std::size_t n, TextKey key, HugeVector<uint32_t>& text_of,
                   HugeVector<const char*>& texts) {
    static_assert(sizeof(Klient::Field20) == 20);
    const std::size_t most = n / 8 + 64;
    struct Slot {
        const char* field = nullptr; // none: free
        uint32_t text = 0;
    };
    std::vector<Slot> slots(256);
    const auto hash = [](const char* field) {
        uint64_t a, b;
        uint32_t c;
        std::memcpy(&a, field, 8);
        std::memcpy(&b, field + 8, 8);
        std::memcpy(&c, field + 16, 4);
        return ((a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ (c * 0x165667B19E3779F9ull)) >> 17;
    };
    const auto place = [&](std::vector<Slot>& table, const char* field) -> Slot& {
        for (std::size_t at = hash(field) & (table.size() - 1);; at = (at + 1) & (table.size() - 1)) {
            if (table[at].field == nullptr || std::memcmp(table[at].field, field, 20) == 0) {
                return table[at];
            }
        }
    };
    text_of.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const char* const field = key(*tabulka[i]);
        Slot& slot = place(slots, field);
        if (slot.field == nullptr) {
            if (texts.size() == most) {
                return false;
            }
            slot = {field, static_cast<uint32_t>(texts.size())};
            texts.push_back(field);
            if (2 * texts.size() > slots.size()) {
                std::vector<Slot> larger(2 * slots.size());
                for (const Slot& s : slots) {
                    if (s.field != nullptr) {
                        place(larger, s.field) = s;
                    }
                }
                slots.swap(larger);
            }
        }
        text_of[i] = slot.text;
    }
    return true;
}

// Each entry's rank in the Slovak collation: each distinct text collated once.
HugeVector<uint32_t> collationRanks(Klient* const* tabulka, std::size_t n, TextKey key, unsigned workers) {
    HugeVector<uint32_t> text_of; // the distinct text of each entry
    HugeVector<std::string_view> texts;
    HugeVector<const char*> fields;
    if (distinctTexts(tabulka, n, key, text_of, fields)) {
        for (const char* field : fields) {
            texts.push_back({field, fixedTextLength(*reinterpret_cast<const Klient::Field20*>(field))});
        }
    } else {
        // Many: in byte order, equal texts together.
        for (const TextEntry& e : textOrder(tabulka, n, key, false, workers, {}, &text_of)) {
            if (texts.size() == text_of[e.position]) {
                texts.push_back(viewFixedText(key(*tabulka[e.position])));
            }
        }
    }
    const HugeVector<uint32_t> ranks = slovakRanks(texts, workers);
    forEachIndex(n, workers, [&](std::size_t i) { text_of[i] = ranks[text_of[i]]; });
    return text_of;
}

// The byte-order ranks of a key's texts where they are few; false where they
// are many.
bool fewTextRanks(Klient* const* tabulka, std::size_t n, TextKey key, unsigned workers, HugeVector<uint32_t>& ranks) {
    HugeVector<const char*> fields;
    if (!distinctTexts(tabulka, n, key, ranks, fields)) {
        return false;
    }
    // The few distinct texts in byte order: a whole field, zeros behind its
    // text, compares as the text does.
    std::vector<uint32_t> order(fields.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return std::memcmp(fields[a], fields[b], 20) < 0; });
    std::vector<uint32_t> rank_of(fields.size());
    for (uint32_t r = 0; r < order.size(); ++r) {
        rank_of[order[r]] = r;
    }
    forEachIndex(n, workers, [&](std::size_t i) { ranks[i] = rank_of[ranks[i]]; });
    return true;
}

// The ranks of a text key, numbers whose order is the key's order: in the
// Slovak collation, or in byte order.
HugeVector<uint32_t> textRanks(Klient* const* tabulka, std::size_t n, TextKey key, Collation collation,
                               unsigned workers) {
    if (collation == Collation::sk) {
        return collationRanks(tabulka, n, key, workers);
    }
    HugeVector<uint32_t> ranks;
    if (!fewTextRanks(tabulka, n, key, workers, ranks)) {
        textOrder(tabulka, n, key, false, workers, {}, &ranks);
    }
    return ranks;
}

// A key of several as a number whose order is the key's (a descending key's
// flipped): a number's value read off its record, a text's rank taken before.
struct KeyValue {
    SortMenuItem::NumberKey number = nullptr;
    HugeVector<uint32_t> ranks; // of a text key
    uint32_t flip = 0;
    uint32_t of(Klient* const* tabulka, uint32_t position, const Datum& dnes) const noexcept {
        return (number != nullptr ? orderedNumber(number(*tabulka[position], dnes)) : ranks[position]) ^ flip;
    }
};

// The positions of seq (none: the table's own order) ordered stably by two
// keys at once, the first the more important (none: the second alone): one
// sort whose bytes that every entry shares cost no pass.
HugeVector<uint32_t> orderByPair(Klient* const* tabulka, const HugeVector<uint32_t>* seq, std::size_t n,
                                 const KeyValue* first, const KeyValue& second, const Datum& dnes,
                                 unsigned workers) {
    struct Entry {
        uint64_t key;
        uint32_t index; // in seq
        bool operator<(const Entry& other) const noexcept {
            return key != other.key ? key < other.key : index < other.index;
        }
    };
    const auto position = [seq](std::size_t i) { return seq != nullptr ? (*seq)[i] : static_cast<uint32_t>(i); };
    HugeVector<Entry> entries(n);
    forEachIndex(n, workers, [&](std::size_t i) {
        const uint32_t p = position(i);
        const uint64_t high = first != nullptr ? first->of(tabulka, p, dnes) : 0;
        entries[i] = {high << 32 | second.of(tabulka, p, dnes), static_cast<uint32_t>(i)};
    });
    const auto sortPart = [](std::span<Entry> part, std::span<Entry> scratch) {
        stableRadixSort(part, scratch, [](const Entry& e) { return e.key; }, 0, 7);
    };
    sortInParts(entries, workers, sortPart, std::less<Entry>(), {});
    HugeVector<uint32_t> ordered(n);
    forEachIndex(n, workers, [&](std::size_t i) { ordered[i] = position(entries[i].index); });
    return ordered;
}

HugeVector<Klient*> sortByKey(Klient* const* tabulka, std::size_t n, SortKey key, const Datum& dnes,
                               Collation collation, unsigned workers, const ProgressCallback& progress) {
    const auto& item = menuItem(key.kriterium).key;
    const auto* text = std::get_if<TextKey>(&item);
    // Texts in byte order: by their ranks where they are few (a radix pass
    // or two over small numbers), else by their bytes.
    HugeVector<uint32_t> ranks;
    if (text != nullptr && collation == Collation::bytes && !fewTextRanks(tabulka, n, *text, workers, ranks)) {
        return sortByText(tabulka, n, *text, key.descending, workers, progress);
    }
    if (const auto* number = std::get_if<SortMenuItem::NumberKey>(&item)) {
        const uint32_t flip = key.descending ? 0xFFFFFFFFu : 0;
        return sortByNumber(
            tabulka, n, [&](std::size_t i) { return orderedNumber((*number)(*tabulka[i], dnes)) ^ flip; }, workers,
            progress);
    }
    if (ranks.empty()) {
        ranks = collationRanks(tabulka, n, *text, workers);
    }
    const uint32_t flip = key.descending ? 0xFFFFFFFFu : 0;
    return sortByNumber(tabulka, n, [&](std::size_t i) { return ranks[i] ^ flip; }, workers, progress);
}

} // namespace

HugeVector<Klient*> sortClients(Klient* const* tabulka, int32_t pocet, std::span<const SortKey> keys,
                                 const Datum& dnes, Collation collation, const ProgressCallback& progress,
                                 unsigned workers) {
    const auto n = static_cast<std::size_t>(std::max(pocet, 0));
    if (n < 2 || keys.empty()) {
        return HugeVector<Klient*>(tabulka, tabulka + n);
    }
    workers = std::max(workers, 1u);
    if (keys.size() == 1) {
        return sortByKey(tabulka, n, keys[0], dnes, collation, workers, progress);
    }
    // Several keys: one sort by two keys at once, a composite of both, from
    // the least important pair, each keeping the order of the keys after it
    // among entries it holds equal. A number is read off its record, a text's
    // rank taken first; the first sort reads the records in the order they
    // lie in memory.
    std::vector<KeyValue> values(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto& item = menuItem(keys[k].kriterium).key;
        values[k].flip = keys[k].descending ? 0xFFFFFFFFu : 0;
        if (const auto* text = std::get_if<TextKey>(&item)) {
            values[k].ranks = textRanks(tabulka, n, *text, collation, workers);
        } else {
            values[k].number = std::get<SortMenuItem::NumberKey>(item);
        }
    }
    HugeVector<uint32_t> seq;
    for (std::size_t end = keys.size(); end > 0; end = end >= 2 ? end - 2 : 0) {
        seq = orderByPair(tabulka, seq.empty() ? nullptr : &seq, n, end >= 2 ? &values[end - 2] : nullptr,
                          values[end - 1], dnes, workers);
        progress(keys.size() - (end >= 2 ? end - 2 : 0), keys.size());
    }
    HugeVector<Klient*> ordered(n);
    forEachIndex(n, workers, [&](std::size_t i) { ordered[i] = tabulka[seq[i]]; });
    return ordered;
}
