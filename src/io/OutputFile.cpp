#include "io/OutputFile.hpp"

#include "io/OutputFileName.hpp"
#include "io/RecordFormat.hpp"
#include "io/TemporaryFile.hpp"
#include "model/Prefetch.hpp"

#include <algorithm>
#include <cerrno>

namespace {

// How many names of one minute are tried before giving up.
constexpr int last_number = 9999;
// The records formatted in one batch: about half a mebibyte of text.
constexpr std::size_t batch_size = 16384;

// The last name this program gave: the next output of the same minute starts
// its search behind it, so that a script producing thousands of outputs a
// minute does not try every taken name again each time.
struct LastName {
    std::filesystem::path first_of_series;
    int number = 0;
};
LastName last_name;

} // namespace

OutputResult writeOutputFile(Klient* const* tabulka, int32_t pocet, const std::tm& local_time,
                             const std::filesystem::path& directory, FormatBuffers& buffers,
                             const ProgressCallback& progress) {
    const auto name = [&](int number) { return directory / outputFileName(local_time, number); };
    const std::filesystem::path first_of_series = name(1);
    OutputResult result{false, first_of_series, 0};
    std::optional<TemporaryFile> file = TemporaryFile::create(directory);
    if (!file) {
        result.error = errno;
        return result;
    }
    // The reason is kept at once: the threads' ending may change errno.
    const auto write = [&](std::string_view text) {
        const bool written = file->write(text);
        result.error = written ? 0 : errno;
        return written;
    };
    const auto format = [tabulka](TextBuffer& buffer, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            prefetchAhead(tabulka, i, to);
            appendRecordLine(buffer, *tabulka[i]);
        }
    };
    if (!write(hlavicka_suboru) ||
        !formatInOrder(static_cast<std::size_t>(std::max(pocet, 0)), batch_size, buffers, format, write, progress)) {
        return result;
    }
    const int first = first_of_series == last_name.first_of_series ? last_name.number + 1 : 1;
    const std::optional<int> number = file->publish(name, first, last_number, result.name);
    if (!number) {
        result.error = errno;
        return result;
    }
    last_name = {first_of_series, *number};
    result.written = true;
    return result;
}
