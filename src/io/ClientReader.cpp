#include "io/ClientReader.hpp"

#include "io/RecordLine.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <type_traits>
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

std::size_t slabBytes(std::size_t held) noexcept {
    constexpr std::size_t first = 16;
    if (held < huge_page / sizeof(Klient)) {
        return std::max(held, first) * sizeof(Klient);
    }
    const std::size_t quarter = held / 4 * sizeof(Klient);
    return std::max(huge_page, (quarter + huge_page - 1) / huge_page * huge_page);
}

namespace {
// Of a line that is no record, at most this much is kept across reads: with a
// record waiting for more bytes before it, still longer than any record.
constexpr std::size_t max_kept_line = 2 * max_record_length + 2;
constexpr std::size_t max_reports = 10; // lines that are no records reported one by one; the rest are counted

const char* find(const char* from, char c, std::size_t size) noexcept {
    return static_cast<const char*>(std::memchr(from, c, size));
}

// Where one worker's records go, chunk after chunk: slabs of slabBytes each.
// Few records take little memory, many take huge pages in few mappings, and
// no more than one slab a worker is left part empty.
class RecordArena {
public:
    bool slabFull() const noexcept { return left_ == 0; } // the next record starts a slab
    Klient& take() {
        if (left_ == 0) {
            const std::size_t bytes = slabBytes(held_);
            slabs_.push_back(takeMemory(bytes));
            next_ = reinterpret_cast<Klient*>(slabs_.back().get());
            left_ = bytes / sizeof(Klient);
            held_ += left_;
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
    static_assert(std::is_trivially_destructible_v<Klient>, "a slab frees its records' memory alone");
    std::vector<MemoryBlock> slabs_;
    Klient* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t held_ = 0; // records the slabs have room for
};

// The records of a run of lines, in runs of its worker's slabs, and the lines
// that are no records.
struct Piece {
    const char* begin = nullptr;
    const char* end = nullptr;
    std::vector<ClientStore::Block> blocks;
    uint64_t lines = 0;
    uint64_t records = 0;
    uint64_t malformed = 0;
    struct Skipped {
        uint64_t line; // within the piece, from 0
        std::string_view text;
    };
    std::vector<Skipped> skipped; // the first ten and every one near the start
    // Where lines near the start began a record or a skipped line, and what
    // came before: a record of the piece before that ran on into this one
    // ends at one of them, and the piece is taken from there.
    struct Start {
        uint32_t at, lines, records, malformed;
    };
    std::vector<Start> starts;
    uint64_t near_malformed = 0;
    bool quoted = false;        // some field was
    const char* next = nullptr; // where the first line not taken here begins
    bool deferred = false;      // the record at next needs bytes past the data

    // A run never crosses from one slab into the next, even where they lie
    // next to each other: it is walked as one array.
    Klient& nextRecord(RecordArena& arena) {
        const bool own_run = blocks.empty() || arena.slabFull();
        Klient& record = arena.take();
        if (own_run) {
            blocks.push_back({&record, 0});
        }
        ++blocks.back().filled;
        ++records;
        return record;
    }
};

// Parses the records that begin in [begin, end); one may run on up to
// data_end. at_end: no bytes follow data_end.
Piece parsePiece(const char* begin, const char* end, const char* data_end, bool at_end, char separator,
                 RecordArena& arena) {
    Piece piece;
    piece.begin = begin;
    piece.end = end;
    RecordFields fields;
    const char* line = begin;
    while (line < end) {
        const auto offset = static_cast<std::size_t>(line - begin);
        const bool near_start = offset <= max_record_length;
        if (near_start) {
            piece.starts.push_back({static_cast<uint32_t>(offset), static_cast<uint32_t>(piece.lines),
                                    static_cast<uint32_t>(piece.records), static_cast<uint32_t>(piece.malformed)});
        }
        const char* const lf = find(line, '\n', static_cast<std::size_t>(data_end - line));
        const char* const line_end = lf != nullptr ? lf : data_end;
        const char* record_end = line_end;
        uint64_t lines = 1;
        const Split split = splitRecord(line, line_end, data_end, at_end, separator, fields, record_end, lines);
        if (split == Split::incomplete) {
            piece.deferred = true;
            break;
        }
        if (split == Split::record) {
            fillKlient(fields, piece.nextRecord(arena));
            piece.quoted = piece.quoted || fields.quoted;
        } else {
            if (near_start || piece.malformed - piece.near_malformed < max_reports) {
                const bool cr = lf != nullptr && lf > line && lf[-1] == '\r';
                piece.skipped.push_back({piece.lines, {line, static_cast<std::size_t>(line_end - line) - cr}});
            }
            piece.near_malformed += near_start ? 1 : 0;
            ++piece.malformed;
        }
        piece.lines += lines;
        line = record_end < data_end ? record_end + 1 : data_end;
    }
    piece.next = line;
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
        const char* const lf = find(from, '\n', static_cast<std::size_t>(end - from));
        cuts.push_back(lf != nullptr ? lf + 1 : end);
    }
    cuts.push_back(end);
    std::vector<Piece> pieces(count);
    const auto task = [&](std::size_t t) {
        if (t == 0) {
            alongside();
        } else {
            pieces[t - 1] = parsePiece(cuts[t - 1], cuts[t], end, false, separator, arenas[t - 1]);
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

struct Header {
    Dialect dialect;
    bool utf16 = false;
    std::size_t after = 0;       // bytes read past it, moved to the buffer's start
    bool source_ended = false;   // nothing is left to read
    int error = 0;               // of a read that failed
};

// Reads the header line into the buffer, a chunk at a time, and judges its
// first bytes: a byte order mark (UTF-8, or UTF-16, which is not read), the
// separator, a CR before its line feed. Nothing else of it is kept.
Header readHeader(ByteSource& source, char* buffer, std::size_t chunk, const auto& counted) {
    Header header;
    std::string head; // its first bytes
    char before_lf = '\0';
    bool ended = false;
    while (!ended) {
        const std::ptrdiff_t n = source.read(buffer, chunk);
        if (n <= 0) {
            header.error = n < 0 ? errno : 0;
            header.source_ended = true;
            break;
        }
        counted(n);
        const auto size = static_cast<std::size_t>(n);
        const char* const lf = find(buffer, '\n', size);
        const std::size_t line = lf != nullptr ? static_cast<std::size_t>(lf - buffer) : size;
        head.append(buffer, std::min(line, max_record_length - std::min(max_record_length, head.size())));
        before_lf = line > 0 ? buffer[line - 1] : before_lf;
        if (lf != nullptr) {
            ended = true;
            header.after = size - line - 1;
            std::memmove(buffer, lf + 1, header.after);
        }
    }
    std::string_view line = head;
    header.utf16 = line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF");
    header.dialect.byte_order_mark = line.starts_with(byte_order_mark);
    header.dialect.crlf = ended && before_lf == '\r';
    line.remove_prefix(header.dialect.byte_order_mark ? byte_order_mark.size() : 0);
    if (header.dialect.crlf && line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    header.dialect.separator = separatorOf(line);
    return header;
}
} // namespace

LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options) {
    LoadResult result;
    const std::size_t chunk = std::max<std::size_t>(options.chunk_size, 1);
    // Two buffers: the next chunk is read into one while the lines of the
    // other are turned into records. Each starts with what is carried over
    // from the chunk before: an unfinished line, and a record that waited
    // for it.
    MemoryBlock buffers[2] = {takeMemory(2 * max_kept_line + chunk), takeMemory(2 * max_kept_line + chunk)};
    const auto start = [](const MemoryBlock& buffer) { return reinterpret_cast<char*>(buffer.get()); };
    std::vector<RecordArena> arenas(std::max(options.workers, 1u)); // one a worker, its records in file order
    const uint64_t total = source.sizeHint();
    uint64_t read_total = 0;
    const auto counted = [&](std::ptrdiff_t bytes) {
        read_total += static_cast<uint64_t>(bytes);
        options.progress(read_total, total);
    };
    const auto keepRecords = [&] {
        for (RecordArena& arena : arenas) {
            arena.giveTo(result.klienti);
        }
    };

    const Header header = readHeader(source, start(buffers[0]), chunk, counted);
    result.dialect = header.dialect;
    if (header.utf16 || header.error != 0) {
        result.utf16 = header.utf16;
        result.read_error = header.error;
        return result;
    }
    const char separator = header.dialect.separator;

    uint64_t next_line = 2; // the header is line 1
    std::size_t reported = 0;
    uint64_t unreported = 0;
    // Takes a piece's records and skipped lines from `from` on, where the
    // record before it ended, in file order; false where no line of the
    // piece began there.
    const auto take = [&](const Piece& piece, const char* from) {
        const auto at = static_cast<uint32_t>(from - piece.begin);
        const auto first = std::find_if(piece.starts.begin(), piece.starts.end(),
                                        [at](const Piece::Start& s) { return s.at == at; });
        if (first == piece.starts.end()) {
            return false;
        }
        uint64_t listed = 0;
        for (const Piece::Skipped& skipped : piece.skipped) {
            if (skipped.line >= first->lines && reported < max_reports) {
                out << options.report_prefix << "Riadok " << next_line + skipped.line - first->lines << " v subore "
                    << options.file_name << " ma nespravny format (" << diagnoseLine(skipped.text, separator)
                    << "), zaznam bol preskoceny.\n";
                ++reported;
                ++listed;
            }
        }
        unreported += piece.malformed - first->malformed - listed;
        next_line += piece.lines - first->lines;
        result.dialect.some_field_quoted = result.dialect.some_field_quoted || piece.quoted;
        std::size_t dropped = first->records;
        for (ClientStore::Block block : piece.blocks) {
            const std::size_t drop = std::min(dropped, block.filled);
            dropped -= drop;
            if (block.filled > drop) {
                result.klienti.add({block.records + drop, block.filled - drop});
            }
        }
        return true;
    };
    // Takes the pieces of [begin, data_end) in order; gives where the lines
    // not taken begin (a record that waits for more bytes, and what follows).
    const auto takeAll = [&](std::vector<Piece>& pieces, const char* begin, const char* data_end, bool at_end) {
        const char* cursor = begin;
        for (Piece& piece : pieces) {
            if (piece.next <= cursor) {
                continue; // within a record that ran on from the piece before
            }
            if (!take(piece, cursor)) {
                // That record ended where this piece's own parse saw no line
                // begin: parsed again from there, here.
                piece = parsePiece(cursor, piece.end, data_end, at_end, separator, arenas[0]);
                take(piece, cursor);
            }
            cursor = piece.next;
            if (piece.deferred) {
                break;
            }
        }
        return cursor;
    };

    char* buffer = start(buffers[0]);
    std::size_t filled = header.after; // bytes in the buffer
    std::size_t carried = 0;           // of them, those before the fresh ones: no line ends there but in a waiting record's
    bool more = !header.source_ended;
    while (true) {
        if (filled == carried) {
            if (!more) {
                break;
            }
            const std::ptrdiff_t bytes = source.read(buffer + filled, chunk);
            if (bytes <= 0) {
                more = false;
                result.read_error = bytes < 0 ? errno : 0;
                break;
            }
            counted(bytes);
            filled += static_cast<std::size_t>(bytes);
        }
        // Whole lines end at the last line feed among the fresh bytes; what
        // follows it waits for the next read.
        const std::size_t last_lf = std::string_view(buffer + carried, filled - carried).rfind('\n');
        if (last_lf == std::string_view::npos) {
            carried = filled = keepUnfinished(buffer, buffer, buffer + filled);
            continue;
        }
        const char* const whole_end = buffer + carried + last_lf + 1;
        char* const other = start(buffers[1]);
        std::size_t next_carried = keepUnfinished(other, whole_end, buffer + filled);
        std::ptrdiff_t bytes = 0;
        int error = 0;
        std::vector<Piece> pieces = parseSideBySide(buffer, whole_end, separator, options, arenas, [&] {
            if (more) {
                bytes = source.read(other + next_carried, chunk);
                error = bytes < 0 ? errno : 0;
            }
        });
        const char* const cursor = takeAll(pieces, buffer, whole_end, false);
        const auto fresh = static_cast<std::size_t>(std::max<std::ptrdiff_t>(bytes, 0));
        if (cursor < whole_end) {
            // A record waits for the bytes after these: it goes before them.
            const auto waiting = static_cast<std::size_t>(whole_end - cursor);
            std::memmove(other + waiting, other, next_carried + fresh);
            std::memcpy(other, cursor, waiting);
            next_carried += waiting;
        }
        std::swap(buffers[0], buffers[1]);
        buffer = start(buffers[0]);
        carried = next_carried;
        filled = carried + fresh;
        if (bytes > 0) {
            counted(bytes);
        }
        if (bytes <= 0) {
            more = false;
            if (bytes < 0) {
                result.read_error = error;
                break;
            }
        }
    }
    if (result.read_error != 0) {
        keepRecords();
        return result;
    }
    if (filled > 0) { // the last lines, when no line feed ends them, or a record waiting for them
        std::vector<Piece> last;
        last.push_back(parsePiece(buffer, buffer + filled, buffer + filled, true, separator, arenas[0]));
        takeAll(last, buffer, buffer + filled, true);
    }
    keepRecords();
    if (!result.klienti.finish(options.max_records)) {
        out << options.report_prefix << "Subor " << options.file_name << " ma viac ako " << options.max_records
            << " zaznamov, dalsie zaznamy neboli nacitane.\n";
    }
    if (unreported > 0) {
        out << options.report_prefix << "Dalsie riadky s nespravnym formatom v subore " << options.file_name
            << ", ktore boli preskocene: " << unreported << '\n';
    }
    return result;
}
