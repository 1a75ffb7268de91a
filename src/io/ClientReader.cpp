#include "io/ClientReader.hpp"

#include "io/RecordLine.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <type_traits>
#include <string_view>
#include <utility>

bool ClientStore::finish(std::size_t most) {
    tabulka_.clear();
    tabulka_.reserve(std::accumulate(blocks_.begin(), blocks_.end(), std::size_t{0},
                                     [](std::size_t total, const Block& block) { return total + block.filled; }));
    for (Block& block : blocks_) {
        for (std::size_t i = 0; i < block.filled; ++i) {
            tabulka_.push_back(&block.records[i]);
        }
    }
    const bool all = tabulka_.size() <= most;
    tabulka_.resize(std::min(tabulka_.size(), most));
    return all;
}

namespace {
// Longer than any acceptable record line (eleven fields at their limits, each
// quoted with every byte a doubled quote, ten separators and a carriage
// return): of a longer line only this much is kept, which is malformed all
// the same.
constexpr std::size_t max_kept_line = 512;
static_assert(std::accumulate(max_field_length.begin(), max_field_length.end(), std::size_t{10 + 1},
                              [](std::size_t sum, std::size_t limit) { return sum + 2 * limit + 2; }) < max_kept_line);
constexpr std::size_t max_reports = 10; // malformed lines reported one by one; the rest are counted
// Where one worker's records go, chunk after chunk: slabs that double from
// the first size up to a huge page's worth. Few records take little memory,
// many take huge pages, and no more than one slab a worker is left part
// empty.
class RecordArena {
public:
    bool slabFull() const noexcept { return left_ == 0; } // the next record starts a slab
    Klient& take() {
        if (left_ == 0) {
            size_ = size_ == 0 ? first_slab : std::min(2 * size_, largest_slab);
            slabs_.push_back(takeMemory(size_ == largest_slab ? huge_page : size_ * sizeof(Klient)));
            next_ = reinterpret_cast<Klient*>(slabs_.back().get());
            left_ = size_;
        }
        --left_;
        return *::new (next_++) Klient();
    }
    void giveTo(ClientStore& store) {
        for (MemoryBlock& slab : slabs_) {
            store.keep(std::move(slab));
        }
        slabs_.clear();
    }

private:
    static constexpr std::size_t first_slab = 16;
    static constexpr std::size_t largest_slab = huge_page / sizeof(Klient);
    static_assert(std::is_trivially_destructible_v<Klient>, "a slab frees its records' memory alone");

    std::vector<MemoryBlock> slabs_;
    Klient* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t size_ = 0; // records in the last slab
};

// A run of whole lines turned into records, held in runs of its worker's slabs.
struct Piece {
    std::vector<ClientStore::Block> blocks;
    uint64_t lines = 0;                                // lines examined
    std::array<uint64_t, max_reports> first_malformed; // counted from 0 within the piece
    uint64_t malformed = 0;
    bool quoted = false; // some field was

    // A run never crosses from one slab into the next, even where they lie
    // next to each other: it is walked as one array.
    Klient& nextRecord(RecordArena& arena) {
        const bool own_run = blocks.empty() || arena.slabFull();
        Klient& record = arena.take();
        if (own_run) {
            blocks.push_back({&record, 0});
        }
        ++blocks.back().filled;
        return record;
    }
};

// Parses [begin, end), the last line perhaps unended.
Piece parsePiece(const char* begin, const char* end, char separator, RecordArena& arena) {
    Piece piece;
    RecordFields fields;
    for (const char* line = begin; line < end; ++piece.lines) {
        const auto* lf = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
        const char* const line_end = lf != nullptr ? lf : end;
        std::string_view text(line, static_cast<std::size_t>(line_end - line));
        if (lf != nullptr && !text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        if (splitRecordLine(text, separator, fields)) {
            fillKlient(fields, piece.nextRecord(arena));
            piece.quoted = piece.quoted || fields.quoted;
        } else if (++piece.malformed <= max_reports) {
            piece.first_malformed[piece.malformed - 1] = piece.lines;
        }
        line = line_end + 1;
    }
    return piece;
}

// Parses whole lines [begin, end) as one piece per worker, cut at line ends, side
// by side, while alongside() runs on the calling thread (before them, with one
// worker); the pieces come back in file order.
std::vector<Piece> parseSideBySide(const char* begin, const char* end, char separator, const LoadOptions& options,
                                   std::vector<RecordArena>& arenas, const auto& alongside) {
    const auto size = static_cast<std::size_t>(end - begin);
    const std::size_t count = size < options.min_shared_chunk ? 1 : std::max(options.workers, 1u);
    std::vector<const char*> cuts{begin};
    for (std::size_t k = 1; k < count; ++k) {
        const char* from = std::max(cuts.back(), begin + size * k / count);
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
        cuts.push_back(lf != nullptr ? lf + 1 : end);
    }
    cuts.push_back(end);
    std::vector<Piece> pieces(count);
    const auto task = [&](std::size_t t) {
        if (t == 0) {
            alongside();
        } else {
            pieces[t - 1] = parsePiece(cuts[t - 1], cuts[t], separator, arenas[t - 1]);
        }
    };
    // One worker is one core: reading and parsing take turns on it.
    if (options.workers <= 1) {
        task(0);
        task(1);
    } else {
        runSideBySide(count + 1, task);
    }
    return pieces;
}

// Moves the start of an unfinished line, at most max_kept_line bytes of it, to
// the front of a buffer; gives how many bytes it keeps.
std::size_t keepUnfinished(char* buffer, const char* from, const char* end) {
    const std::size_t n = std::min(static_cast<std::size_t>(end - from), max_kept_line);
    std::memmove(buffer, from, n);
    return n;
}
} // namespace

LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options) {
    LoadResult result;
    const std::size_t chunk = std::max<std::size_t>(options.chunk_size, 1);
    // Two buffers: the next chunk is read into one while the lines of the
    // other are turned into records. Each starts with the unfinished line
    // carried over from the chunk before.
    MemoryBlock buffers[2] = {takeMemory(max_kept_line + chunk), takeMemory(max_kept_line + chunk)};
    const auto start = [](const MemoryBlock& buffer) { return reinterpret_cast<char*>(buffer.get()); };
    std::vector<RecordArena> arenas(std::max(options.workers, 1u)); // one a worker, its records in file order
    const auto keepRecords = [&] {
        for (RecordArena& arena : arenas) {
            arena.giveTo(result.klienti);
        }
    };
    char* into = start(buffers[0]);
    std::ptrdiff_t bytes = 0;
    int error = 0; // of the last read, kept apart from errno
    const auto read = [&] {
        bytes = source.read(into, chunk);
        error = bytes < 0 ? errno : 0;
    };
    uint64_t next_line = 2; // the header is line 1
    std::size_t reported = 0;
    uint64_t unreported = 0;
    // Takes pieces in file order: reports malformed lines, stores the records.
    const auto add = [&](Piece&& piece) {
        const auto listed = static_cast<std::size_t>(std::min<uint64_t>(piece.malformed, max_reports - reported));
        for (std::size_t i = 0; i < listed; ++i) {
            out << "Riadok " << next_line + piece.first_malformed[i] << " v subore " << options.file_name
                << " ma nespravny format, zaznam bol preskoceny.\n";
        }
        reported += listed;
        unreported += piece.malformed - listed;
        next_line += piece.lines;
        result.dialect.some_field_quoted = result.dialect.some_field_quoted || piece.quoted;
        for (const ClientStore::Block& block : piece.blocks) {
            result.klienti.add(block);
        }
    };
    std::size_t carried = 0;
    bool in_header = true;
    std::size_t header_seen = 0;  // of its first bytes, where a byte order mark would be
    std::size_t mark_matched = 0; // of those, how many match one
    bool separators[3] = {};      // a comma, a semicolon, a tab in the header
    // The header's first separator of these, in this order, is the file's.
    const auto decideDialect = [&] {
        result.dialect.separator = separators[0] || !(separators[1] || separators[2]) ? ','
                                   : separators[1]                                   ? ';'
                                                                                     : '\t';
        result.dialect.byte_order_mark = mark_matched == byte_order_mark.size();
    };
    const uint64_t total = source.sizeHint();
    uint64_t read_total = 0;
    read();
    while (bytes > 0) {
        char* const buffer = start(buffers[0]);
        const char* begin = buffer;
        const char* const fresh = buffer + carried;
        const char* const end = fresh + bytes;
        read_total += static_cast<uint64_t>(bytes);
        options.progress(read_total, total);
        if (in_header) {
            const auto* lf = static_cast<const char*>(std::memchr(fresh, '\n', static_cast<std::size_t>(end - fresh)));
            const std::string_view header(fresh, static_cast<std::size_t>((lf != nullptr ? lf : end) - fresh));
            // A byte order mark before the header, however the reads cut it.
            for (std::size_t i = 0; i < header.size() && header_seen < byte_order_mark.size(); ++i, ++header_seen) {
                mark_matched += mark_matched == header_seen && header[i] == byte_order_mark[header_seen] ? 1u : 0u;
            }
            for (const char c : {',', ';', '\t'}) {
                separators[c == ',' ? 0 : c == ';' ? 1 : 2] |= header.find(c) != std::string_view::npos;
            }
            in_header = lf == nullptr;
            begin = in_header ? end : lf + 1; // nothing of the header is kept
            if (!in_header) {
                decideDialect();
            }
        }
        // Whole lines end at the last line feed among the fresh bytes; what
        // follows it waits for the next read.
        const char* const from = std::max(begin, fresh);
        const std::size_t last_lf = std::string_view(from, static_cast<std::size_t>(end - from)).rfind('\n');
        if (last_lf == std::string_view::npos) {
            carried = keepUnfinished(buffer, begin, end);
            into = buffer + carried;
            read();
            continue;
        }
        const char* const whole_end = from + last_lf + 1;
        char* const other = start(buffers[1]);
        carried = keepUnfinished(other, whole_end, end);
        into = other + carried;
        for (Piece& piece : parseSideBySide(begin, whole_end, result.dialect.separator, options, arenas, read)) {
            add(std::move(piece));
        }
        std::swap(buffers[0], buffers[1]);
    }
    if (bytes < 0) {
        keepRecords();
        result.read_error = error;
        return result;
    }
    if (in_header) { // a header and no line end: still the file's dialect
        decideDialect();
    }
    if (carried > 0) { // the last line, when no line feed ends it
        add(parsePiece(start(buffers[0]), start(buffers[0]) + carried, result.dialect.separator, arenas[0]));
    }
    keepRecords();
    if (!result.klienti.finish(options.max_records)) {
        out << "Subor " << options.file_name << " ma viac ako " << options.max_records
            << " zaznamov, dalsie zaznamy neboli nacitane.\n";
    }
    if (unreported > 0) {
        out << "Dalsie riadky s nespravnym formatom v subore " << options.file_name
            << ", ktore boli preskocene: " << unreported << '\n';
    }
    return result;
}
