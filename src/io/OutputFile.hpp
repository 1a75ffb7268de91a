#pragma once

#include "io/OutputFileName.hpp"
#include "io/TemporaryFile.hpp"
#include "io/WriteInOrder.hpp"
#include "model/Klient.hpp"
#include "progress/ProgressCallback.hpp"

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>

// What became of an output file: the name it was given, or the reason it
// could not be written and the name last tried.
struct OutputResult {
    bool written = false;
    OutputFileName name;
    int error = 0;
};

// The numbered names of one minute given so far: the next output of the same
// minute searches on behind the last one, so that a script producing
// thousands of outputs a minute does not try every taken name again.
struct NameSeries {
    std::tm minute{};
    int last = 0;
};

// A new output file in the working directory: the header and one record line
// per record. Everything it needs is taken when it is made, before a cycle
// shows anything; writing and publishing it allocate nothing and throw
// nothing. It is written out of sight and appears under its name only when it
// is whole; an existing entry is never replaced. When anything fails, no file
// is left under any output name.
class OutputFile {
public:
    // Creates the file out of sight in the directory (on the main thread; a
    // failure is kept for publish to tell) and takes the buffers for count
    // records. Throws std::bad_alloc.
    OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers);

    // Writes the header and the first count records of the table, on as many
    // threads as the buffers serve; on any thread. progress is told the
    // records written after each piece.
    void write(Klient* const* tabulka, std::size_t count, const ProgressCallback& progress = {}) noexcept;

    // Makes the file durable and names it after local_time, with the first
    // number of the minute's series that is free; on the main thread.
    OutputResult publish(const std::tm& local_time, NameSeries& series) noexcept;

private:
    std::optional<TemporaryFile> file_;
    int error_ = 0;
    WriterBuffers buffers_;
};
