#pragma once

#include "io/FormatInOrder.hpp"
#include "model/Klient.hpp"
#include "model/ProgressCallback.hpp"

#include <cstdint>
#include <ctime>
#include <filesystem>

// What became of an output file: the name it was given, or the reason it
// could not be written and the name last tried.
struct OutputResult {
    bool written = false;
    std::filesystem::path name;
    int error = 0;
};

// Writes the header and the first pocet records of the table to a new file in
// directory named after local_time, formatted in the buffers on as many
// threads as they serve. The
// file is written out of sight and appears under its name only when it is
// whole; an existing entry is never replaced: a taken name moves on to the
// next of the numbered series. When anything fails, no file is left under any
// output name. progress is told the records written after each piece.
OutputResult writeOutputFile(Klient* const* tabulka, int32_t pocet, const std::tm& local_time,
                             const std::filesystem::path& directory, FormatBuffers& buffers,
                             const ProgressCallback& progress = {});
