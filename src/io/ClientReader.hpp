#pragma once

#include "io/Dialect.hpp"
#include "memory/MemoryBlock.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

// Where the reader takes the client file's bytes from: the file in the
// program, a text in the tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes: how many were read, 0 at the end, -1 on an error
    // (errno says why).
    virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;
    // The expected number of bytes, 0 when unknown; only progress reports use it.
    virtual std::uint64_t sizeHint() const { return 0; }
};

// The records, in slabs of memory that never move, so the table (file order
// after loading) and tables built from it stay valid and own none. Moved,
// never copied: a copy's table would point into the original.
class ClientStore {
public:
    struct Block { // records next to each other in a slab, in file order
        Klient* records = nullptr;
        std::size_t filled = 0;
    };

    void add(Block block) { blocks_.push_back(block); }
    void keep(MemoryBlock slab) { slabs_.push_back(std::move(slab)); }
    // Builds the table of the records in the order they were added, the first
    // `most` of them; false when some were left out.
    bool finish(std::size_t most);

    HugeVector<Klient*>& tabulka() noexcept { return tabulka_; } // the dialogue orders it in place
    std::span<const Klient* const> tabulka() const noexcept { return tabulka_; } // read-only, records too
    int32_t pocet() const noexcept { return static_cast<int32_t>(tabulka_.size()); }

private:
    std::vector<MemoryBlock> slabs_;
    std::vector<Block> blocks_;
    HugeVector<Klient*> tabulka_;
};

// The bytes of a worker's next slab of records, its slabs holding `held`
// records: doubling from 16 records to a huge page, then a quarter of what
// they hold, in whole huge pages, so that the most records the program takes
// fit in a few hundred mappings.
std::size_t slabBytes(std::size_t held) noexcept;

struct LoadOptions {
    std::string_view file_name = "klienti.csv"; // as the messages name it
    std::string_view report_prefix;             // before each line of the reports
    // The dialogue counts records in 32 bits: those beyond are left out of the
    // table, with a message.
    std::size_t max_records = INT32_MAX;
    // Read chunk_size bytes at a time, each chunk parsed by `workers` threads
    // (by one when under min_shared_chunk).
    std::size_t chunk_size = std::size_t{4} << 20;
    unsigned workers = 1;
    std::size_t min_shared_chunk = std::size_t{64} << 10;
    ProgressCallback progress; // told the bytes read after each chunk, of the expected size
};

struct LoadResult {
    ClientStore klienti;
    int read_error = 0; // 0, or the errno of the read error that ended the load
    bool utf16 = false; // the file begins with a UTF-16 byte order mark: nothing is read
    Dialect dialect;
};

// Reads the dialect off the header line, then the records, a line each or,
// where a quoted field holds line ends, over several (CRLF too; an empty last
// line is none). The first ten lines that are no records are reported on out
// by number, with the reason, the rest counted at the end; they cost no
// memory. A read error ends the load, its errno in the result. Throws
// std::bad_alloc.
LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options = {});
