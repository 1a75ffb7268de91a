#pragma once

#include "io/ByteSource.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

// Every record read from the client file. The records live in blocks that
// never move, so the table of pointers (in file order after loading) stays
// valid for the life of the program; tables built from it never own a record.
// Moved, never copied: a copy's table would point into the original.
class ClientStore {
public:
    // A block of records; the first `filled` of its `size` are loaded.
    struct Block {
        std::unique_ptr<Klient[]> records;
        std::size_t size = 0;
        std::size_t filled = 0;
    };

    ClientStore() = default;
    ClientStore(ClientStore&&) noexcept = default;
    ClientStore& operator=(ClientStore&&) noexcept = default;
    ClientStore(const ClientStore&) = delete;
    ClientStore& operator=(const ClientStore&) = delete;

    // Takes a block; its records follow those of the blocks taken before.
    void add(Block block) { blocks_.push_back(std::move(block)); }
    // Builds the table of pointers to all records, in the order they were added.
    void finish();

    std::vector<Klient*>& tabulka() noexcept { return tabulka_; }
    const std::vector<Klient*>& tabulka() const noexcept { return tabulka_; }
    int32_t pocet() const noexcept { return static_cast<int32_t>(tabulka_.size()); }

private:
    std::vector<Block> blocks_;
    std::vector<Klient*> tabulka_;
};

struct LoadOptions {
    // The file as the messages name it.
    std::string_view file_name = "klienti.csv";
    // At most this many records are loaded (the count is a signed 32-bit
    // number); the file's reading ends at the first record beyond, with a
    // message.
    int32_t max_records = INT32_MAX;
    // The file is read this many bytes at a time, and each chunk's lines are
    // turned into records by this many threads side by side.
    std::size_t chunk_size = std::size_t{4} << 20;
    unsigned workers = 1;
    // A chunk smaller than this is parsed whole by one thread.
    std::size_t min_shared_chunk = std::size_t{64} << 10;
    // Told the bytes read after each chunk, out of the file's expected size.
    ProgressCallback progress;
};

// What the header line holds: a file separated by semicolons or tabs (as a
// spreadsheet exports it in some locales) has no comma in its header.
struct HeaderShape {
    bool comma = false;
    bool semicolon = false;
    bool tab = false;
};

struct LoadResult {
    ClientStore klienti;
    // 0, or the errno of the read error that ended the load.
    int read_error = 0;
    HeaderShape header;
};

// Reads the whole client file: a header line, which is skipped whatever it
// holds, then one record per line. A carriage return before a line feed is
// not part of the line, and an empty last line after the final line feed is
// no record. The first ten malformed record lines are reported on out
// with their line numbers (the header is line 1), the rest are counted in one
// line at the end. Memory grows with the records loaded: a line that is no
// record costs none. A read error ends the load: the result then carries its
// errno. Running out of memory throws std::bad_alloc.
LoadResult loadClients(ByteSource& source, std::ostream& out, const LoadOptions& options = {});
