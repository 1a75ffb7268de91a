#include "io/ClientReader.hpp"

#include "io/RecordLine.hpp"
#include "model/Parallel.hpp"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <cstring>
#include <string_view>

void ClientStore::addBlock(RecordBlock block, std::size_t filled) {
    blocks_.push_back({std::move(block), filled});
}

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

// A run of whole lines turned into records.
struct Piece {
    struct Malformed {
        uint64_t line;              // counted from 0 within the piece
        std::size_t records_before; // records of the piece before it
    };
    ClientStore::RecordBlock records;
    std::size_t filled = 0;
    std::vector<Malformed> malformed;
    uint64_t lines = 0;
};

// Parses the lines of [begin, end). Every line ends with a line feed except,
// when last_unterminated, the last one, whose carriage return is kept.
Piece parsePiece(const char* begin, const char* end, bool last_unterminated) {
    Piece piece;
    piece.lines = static_cast<uint64_t>(std::count(begin, end, '\n')) + (last_unterminated ? 1 : 0);
    piece.records = ClientStore::RecordBlock(piece.lines);
    const char* line = begin;
    for (uint64_t i = 0; i < piece.lines; ++i) {
        const auto* lf = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
        const char* const line_end = lf != nullptr ? lf : end;
        std::string_view text(line, static_cast<std::size_t>(line_end - line));
        if (lf != nullptr && !text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        if (const auto fields = splitRecordLine(text)) {
            fillKlient(*fields, piece.records[piece.filled++]);
        } else {
            piece.malformed.push_back({i, piece.filled});
        }
        line = line_end + 1;
    }
    return piece;
}

// Parses whole lines [begin, end) as one piece per worker, cut at line ends,
// side by side, while alongside runs on the calling thread; the pieces come
// back in file order. One worker does it all on the calling thread.
std::vector<Piece> parseSideBySide(const char* begin, const char* end, unsigned workers,
                                   std::size_t min_shared_chunk, const std::function<void()>& alongside) {
    if (workers <= 1) {
        alongside();
        std::vector<Piece> pieces;
        pieces.push_back(parsePiece(begin, end, false));
        return pieces;
    }
    const auto size = static_cast<std::size_t>(end - begin);
    const std::size_t count = size < min_shared_chunk ? 1 : workers;
    std::vector<const char*> cuts{begin};
    for (std::size_t k = 1; k < count; ++k) {
        const char* from = std::max(cuts.back(), begin + size * k / count);
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
        cuts.push_back(lf != nullptr ? lf + 1 : end);
    }
    cuts.push_back(end);
    std::vector<Piece> pieces(count);
    std::vector<std::function<void()>> tasks{alongside};
    for (std::size_t k = 0; k < count; ++k) {
        tasks.emplace_back([&pieces, &cuts, k] { pieces[k] = parsePiece(cuts[k], cuts[k + 1], false); });
    }
    runSideBySide(tasks);
    return pieces;
}

// One read of the source: how many bytes, or -1 and the read error's errno.
struct Read {
    std::ptrdiff_t bytes;
    int error;
};

Read readChunk(ByteSource& source, char* into, std::size_t size) {
    const std::ptrdiff_t bytes = source.read(into, size);
    return {bytes, bytes < 0 ? errno : 0};
}

// Takes the pieces in file order: numbers their lines, reports the malformed
// ones, keeps to the record limit and hands the records to the store.
class Assembly {
public:
    Assembly(ClientStore& klienti, std::ostream& out, const LoadOptions& options)
        : klienti_(klienti), out_(out), options_(options) {}

    void add(Piece&& piece) {
        if (full_) {
            return;
        }
        const auto room = static_cast<std::size_t>(options_.max_records - loaded_);
        for (const Piece::Malformed& m : piece.malformed) {
            if (m.records_before > room) {
                break; // the limit falls before this line
            }
            report(next_line_ + m.line);
        }
        std::size_t taken = piece.filled;
        if (taken > room) {
            taken = room;
            full_ = true;
            out_ << "Subor " << options_.file_name << " ma viac ako " << options_.max_records
                    << " zaznamov, dalsie zaznamy neboli nacitane.\n";
        }
        loaded_ += static_cast<int32_t>(taken);
        next_line_ += piece.lines;
        klienti_.addBlock(std::move(piece.records), taken);
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

    static constexpr int max_reports = 10;
    ClientStore& klienti_;
    std::ostream& out_;
    const LoadOptions& options_;
    uint64_t next_line_ = 2; // the header is line 1
    int32_t loaded_ = 0;
    bool full_ = false;
    int reported_ = 0;
    uint64_t unreported_ = 0;
};

// Moves the start of an unfinished line to the front of a buffer, at most
// max_kept_line bytes of it, and gives how many bytes it keeps.
std::size_t keepUnfinished(char* buffer, const char* from, const char* end) {
    const std::size_t n = std::min(static_cast<std::size_t>(end - from), max_kept_line);
    std::memmove(buffer, from, n);
    return n;
}

} // namespace

LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options) {
    LoadResult result;
    Assembly assembly(result.klienti, out, options);
    const std::size_t chunk_size = std::max<std::size_t>(options.chunk_size, 1);
    const unsigned workers = std::max(options.workers, 1u);
    // Two buffers: the next chunk is read into one while the lines of the
    // other are turned into records.
    std::unique_ptr<char[]> buffers[2] = {std::make_unique_for_overwrite<char[]>(max_kept_line + chunk_size),
                                          std::make_unique_for_overwrite<char[]>(max_kept_line + chunk_size)};
    int current = 0;
    std::size_t carried = 0; // the start of an unfinished line, at the front of the buffer
    bool in_header = true;
    const uint64_t total = source.sizeHint();
    uint64_t read_total = 0;
    Read next = readChunk(source, buffers[current].get(), chunk_size);
    for (;;) {
        if (next.bytes < 0) {
            result.read_error = next.error;
            return result;
        }
        if (next.bytes == 0) {
            break;
        }
        char* const buffer = buffers[current].get();
        const char* begin = buffer;
        const char* const fresh = buffer + carried;
        const char* const end = fresh + next.bytes;
        read_total += static_cast<uint64_t>(next.bytes);
        if (options.progress) {
            options.progress(read_total, total);
        }
        if (in_header) {
            const auto* lf = static_cast<const char*>(std::memchr(fresh, '\n', static_cast<std::size_t>(end - fresh)));
            const std::string_view header(fresh, static_cast<std::size_t>((lf != nullptr ? lf : end) - fresh));
            result.header.comma = result.header.comma || header.find(',') != std::string_view::npos;
            result.header.semicolon = result.header.semicolon || header.find(';') != std::string_view::npos;
            result.header.tab = result.header.tab || header.find('\t') != std::string_view::npos;
            if (lf == nullptr) {
                next = readChunk(source, buffer, chunk_size); // the header goes on; nothing of it is kept
                continue;
            }
            in_header = false;
            begin = lf + 1;
        }
        // Whole lines end at the last line feed among the fresh bytes; what
        // follows it waits for the next read.
        const std::string_view fresh_text(std::max(begin, fresh), static_cast<std::size_t>(end - std::max(begin, fresh)));
        const std::size_t last_lf = fresh_text.rfind('\n');
        if (last_lf == std::string_view::npos) {
            carried = keepUnfinished(buffer, begin, end);
            next = readChunk(source, buffer + carried, chunk_size);
            continue;
        }
        const char* const whole_end = fresh_text.data() + last_lf + 1;
        char* const other = buffers[1 - current].get();
        const std::size_t next_carried = keepUnfinished(other, whole_end, end);
        std::vector<Piece> pieces = parseSideBySide(begin, whole_end, workers, options.min_shared_chunk, [&] {
            next = readChunk(source, other + next_carried, chunk_size);
        });
        for (Piece& piece : pieces) {
            assembly.add(std::move(piece));
        }
        current = 1 - current;
        carried = next_carried;
    }
    // The last line, when no line feed ends it; an empty one is no record.
    if (carried > 0) {
        assembly.add(parsePiece(buffers[current].get(), buffers[current].get() + carried, true));
    }
    assembly.finish();
    return result;
}
