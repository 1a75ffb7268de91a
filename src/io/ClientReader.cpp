#include "io/ClientReader.hpp"

#include "io/RecordLine.hpp"
#include "threads/SideBySide.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

void ClientStore::finish() {
    std::size_t total = 0;
    for (const Block& block : blocks_) {
        total += block.filled;
    }
    tabulka_.clear();
    tabulka_.reserve(total);
    for (Block& block : blocks_) {
        for (std::size_t i = 0; i < block.filled; ++i) {
            tabulka_.push_back(&block.records[i]);
        }
    }
}

namespace {

// Longer than any acceptable record line (eleven fields at their limits, ten
// commas and a carriage return): of a line that grows past this only this
// much is kept, which is malformed all the same.
constexpr std::size_t max_kept_line = 256;
// Malformed lines reported one by one; the rest are counted.
constexpr std::size_t max_reports = 10;
// Record blocks of a piece start at this many records and double up to the
// largest: a piece of few records takes little, one of many takes few blocks.
constexpr std::size_t first_block = 16;
constexpr std::size_t largest_block = 1024;

// A run of whole lines turned into records.
struct Piece {
    std::vector<ClientStore::Block> blocks;
    std::size_t filled = 0;
    uint64_t lines = 0;                                // lines examined
    std::array<uint64_t, max_reports> first_malformed; // counted from 0 within the piece
    uint64_t malformed = 0;
    bool limit_reached = false; // a record beyond the room was found: the piece ends before it

    Klient& nextRecord() {
        if (blocks.empty() || blocks.back().filled == blocks.back().size) {
            const std::size_t size = blocks.empty() ? first_block : std::min(2 * blocks.back().size, largest_block);
            blocks.push_back({std::make_unique<Klient[]>(size), size, 0});
        }
        ++filled;
        return blocks.back().records[blocks.back().filled++];
    }
};

// Parses the lines of [begin, end), each ended by a line feed but perhaps the
// last, into at most room records.
Piece parsePiece(const char* begin, const char* end, std::size_t room) {
    Piece piece;
    for (const char* line = begin; line < end; ++piece.lines) {
        const auto* lf = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
        const char* const line_end = lf != nullptr ? lf : end;
        std::string_view text(line, static_cast<std::size_t>(line_end - line));
        if (lf != nullptr && !text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        if (const auto fields = splitRecordLine(text)) {
            if (piece.filled == room) {
                piece.limit_reached = true;
                break;
            }
            fillKlient(*fields, piece.nextRecord());
        } else {
            if (piece.malformed < max_reports) {
                piece.first_malformed[piece.malformed] = piece.lines;
            }
            ++piece.malformed;
        }
        line = line_end + 1;
    }
    return piece;
}

// Parses whole lines [begin, end) into at most room records, as one piece per
// worker cut at line ends, side by side, while alongside runs on the calling
// thread (after it, with one worker); the pieces come back in file order.
std::vector<Piece> parseSideBySide(const char* begin, const char* end, const LoadOptions& options, std::size_t room,
                                   void (*alongside)(void*), void* context) {
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
            alongside(context);
        } else {
            pieces[t - 1] = parsePiece(cuts[t - 1], cuts[t], room);
        }
    };
    // One worker is one core: reading and parsing take turns on it.
    if (options.workers <= 1) {
        task(0);
        task(1);
    } else {
        runSideBySide(count + 1, task);
    }
    // Pieces parsed side by side each had the whole room: where they went
    // beyond it together, the chunk is parsed again in one piece, which ends
    // exactly at the limit.
    std::size_t filled = 0;
    bool limit_reached = false;
    for (const Piece& piece : pieces) {
        filled += piece.filled;
        limit_reached = limit_reached || piece.limit_reached;
    }
    if (count > 1 && (filled > room || limit_reached)) {
        pieces.clear();
        pieces.push_back(parsePiece(begin, end, room));
    }
    return pieces;
}

// Takes the pieces in file order: numbers their lines, reports the malformed
// ones and hands the records to the store.
class Assembly {
public:
    Assembly(ClientStore& klienti, std::ostream& out, const LoadOptions& options)
        : klienti_(klienti), out_(out), options_(options) {}

    std::size_t room() const noexcept { return static_cast<std::size_t>(std::max(options_.max_records, 0)) - loaded_; }
    bool full() const noexcept { return full_; }

    void add(Piece&& piece) {
        const auto listed = static_cast<std::size_t>(std::min<uint64_t>(piece.malformed, max_reports));
        for (std::size_t i = 0; i < listed; ++i) {
            report(next_line_ + piece.first_malformed[i]);
        }
        unreported_ += piece.malformed - listed;
        next_line_ += piece.lines;
        loaded_ += piece.filled;
        for (ClientStore::Block& block : piece.blocks) {
            klienti_.add(std::move(block));
        }
        if (piece.limit_reached) {
            full_ = true;
            out_ << "Subor " << options_.file_name << " ma viac ako " << options_.max_records
                 << " zaznamov, dalsie zaznamy neboli nacitane.\n";
        }
    }

    void finish() {
        if (unreported_ > 0) {
            out_ << "Dalsie riadky s nespravnym formatom v subore " << options_.file_name
                 << ", ktore boli preskocene: " << unreported_ << '\n';
        }
        klienti_.finish();
    }

private:
    void report(uint64_t line) {
        if (reported_ == max_reports) {
            ++unreported_;
            return;
        }
        ++reported_;
        out_ << "Riadok " << line << " v subore " << options_.file_name
             << " ma nespravny format, zaznam bol preskoceny.\n";
    }

    ClientStore& klienti_;
    std::ostream& out_;
    const LoadOptions& options_;
    uint64_t next_line_ = 2; // the header is line 1
    std::size_t loaded_ = 0;
    bool full_ = false;
    std::size_t reported_ = 0;
    uint64_t unreported_ = 0;
};

// Moves the start of an unfinished line to the front of a buffer, at most
// max_kept_line bytes of it, and gives how many bytes it keeps.
std::size_t keepUnfinished(char* buffer, const char* from, const char* end) {
    const std::size_t n = std::min(static_cast<std::size_t>(end - from), max_kept_line);
    std::memmove(buffer, from, n);
    return n;
}

// Reads the next chunk; -1 on a read error, whose errno it keeps.
struct ChunkReader {
    ByteSource& source;
    std::size_t size;
    char* into = nullptr;
    std::ptrdiff_t bytes = 0;
    int error = 0;

    void read() {
        bytes = source.read(into, size);
        error = bytes < 0 ? errno : 0;
    }
};

} // namespace

LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options) {
    LoadResult result;
    Assembly assembly(result.klienti, out, options);
    ChunkReader reader{source, std::max<std::size_t>(options.chunk_size, 1)};
    // Two buffers: the next chunk is read into one while the lines of the
    // other are turned into records. Each starts with the unfinished line
    // carried over from the chunk before.
    std::unique_ptr<char[]> buffers[2] = {std::make_unique_for_overwrite<char[]>(max_kept_line + reader.size),
                                          std::make_unique_for_overwrite<char[]>(max_kept_line + reader.size)};
    int current = 0;
    std::size_t carried = 0;
    bool in_header = true;
    const uint64_t total = source.sizeHint();
    uint64_t read_total = 0;
    reader.into = buffers[current].get();
    reader.read();
    while (reader.bytes > 0 && !assembly.full()) {
        char* const buffer = buffers[current].get();
        const char* begin = buffer;
        const char* const fresh = buffer + carried;
        const char* const end = fresh + reader.bytes;
        read_total += static_cast<uint64_t>(reader.bytes);
        options.progress(read_total, total);
        if (in_header) {
            const auto* lf = static_cast<const char*>(std::memchr(fresh, '\n', static_cast<std::size_t>(end - fresh)));
            const std::string_view header(fresh, static_cast<std::size_t>((lf != nullptr ? lf : end) - fresh));
            result.header.comma = result.header.comma || header.find(',') != std::string_view::npos;
            result.header.semicolon = result.header.semicolon || header.find(';') != std::string_view::npos;
            result.header.tab = result.header.tab || header.find('\t') != std::string_view::npos;
            in_header = lf == nullptr;
            begin = in_header ? end : lf + 1; // nothing of the header is kept
        }
        // Whole lines end at the last line feed among the fresh bytes; what
        // follows it waits for the next read.
        const char* const from = std::max(begin, fresh);
        const std::size_t last_lf = std::string_view(from, static_cast<std::size_t>(end - from)).rfind('\n');
        if (last_lf == std::string_view::npos) {
            carried = keepUnfinished(buffer, begin, end);
            reader.into = buffer + carried;
            reader.read();
            continue;
        }
        const char* const whole_end = from + last_lf + 1;
        char* const other = buffers[1 - current].get();
        const std::size_t next_carried = keepUnfinished(other, whole_end, end);
        reader.into = other + next_carried;
        std::vector<Piece> pieces = parseSideBySide(begin, whole_end, options, assembly.room(),
                                                    [](void* r) { static_cast<ChunkReader*>(r)->read(); }, &reader);
        for (Piece& piece : pieces) {
            assembly.add(std::move(piece));
        }
        current = 1 - current;
        carried = next_carried;
    }
    if (assembly.full()) {
        assembly.finish();
        return result;
    }
    if (reader.bytes < 0) {
        result.read_error = reader.error;
        return result;
    }
    // The last line, when no line feed ends it.
    if (carried > 0) {
        assembly.add(parsePiece(buffers[current].get(), buffers[current].get() + carried, assembly.room()));
    }
    assembly.finish();
    return result;
}
