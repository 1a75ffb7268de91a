#pragma once

#include "io/OutputFileName.hpp"
#include "io/RecordLine.hpp"
#include "io/TemporaryFile.hpp"
#include "io/WriteInOrder.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>

// What became of an output file: its name, or the error and the name last tried.
struct OutputResult {
    bool written = false;
    OutputFileName name;
    int error = 0;
};

// An output file: the header and a line per record. Made with all it needs, so
// that writing and publishing allocate and throw nothing; named only when
// whole, never over an existing entry, and no file is left under any output
// name when anything fails.
class OutputFile {
public:
    // A failure to create is kept for publish to tell. Throws std::bad_alloc.
    OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers,
               const Dialect& dialect = {});
    // Writes the header and the first count records, in the dialect, on the buffers' workers,
    // from any thread, and waits there until they are on the disk; progress is told the
    // records written.
    void write(const Klient* const* tabulka, std::size_t count, const ProgressCallback& progress = {}) noexcept;
    // Names it after local_time, with the minute's first free number.
    OutputResult publish(const std::tm& local_time) noexcept;

private:
    std::optional<TemporaryFile> file_;
    int error_ = 0;
    Dialect dialect_;
    WriterBuffers buffers_;
};
