#pragma once

#include "io/Dialect.hpp"
#include "io/OutputFileName.hpp"
#include "io/TemporaryFile.hpp"
#include "io/WriteInOrder.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"
#include "sink/ByteSink.hpp"

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What became of an output: written whole, or the error; for a file named
// after the time, its name, or the name last tried.
struct OutputResult {
    bool written = false;
    OutputFileName name;
    int error = 0;
};

// The output of a cycle or a job: the header and a line per record, in the
// client file's dialect. Made with all it needs, so that writing and
// publishing allocate and throw nothing. A file is named only when whole,
// never over an existing entry, and no file is left under any output name
// when anything fails.
class OutputFile {
public:
    // A new file in directory, named after the local time at publishing, or
    // `name` (relative to directory; messages name it as given). A failure
    // to create is kept for publish to tell. Throws std::bad_alloc.
    OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers,
               const Dialect& dialect = {}, std::string name = {});
    // The records onto a sink (standard output) instead; it has no name.
    OutputFile(ByteSink& sink, std::size_t count, unsigned workers, const Dialect& dialect);

    // Writes the header and the first count records on the buffers' workers,
    // from any thread, and waits there until a file's bytes are on the disk;
    // progress is told the records written.
    void write(const Klient* const* tabulka, std::size_t count, const ProgressCallback& progress = {}) noexcept;
    // Names a file after local_time, with the minute's first free number, or
    // as it was named.
    OutputResult publish(const std::tm& local_time) noexcept;

private:
    std::optional<TemporaryFile> file_;
    ByteSink* sink_ = nullptr; // the sink given, where there is no file
    std::string name_;         // as given; empty: named after the time
    std::string link_name_;    // of name_, relative to the file's directory
    int error_ = 0;
    Dialect dialect_;
    WriterBuffers buffers_;
};
