#include "io/OutputFile.hpp"

#include "io/OutputFileName.hpp"
#include "io/RecordFormat.hpp"
#include "io/TemporaryFile.hpp"
#include "model/Prefetch.hpp"

#include <cerrno>

namespace {

// How many names of one minute are tried before giving up.
constexpr int last_number = 9999;
// The text is handed to the file in pieces of about this size.
constexpr std::size_t piece_size = std::size_t{1} << 20;

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
                             const std::filesystem::path& directory, TextBuffer& buffer,
                             const ProgressCallback& progress) {
    const auto name = [&](int number) { return directory / outputFileName(local_time, number); };
    const std::filesystem::path first_of_series = name(1);
    OutputResult result{false, first_of_series, 0};
    std::optional<TemporaryFile> file = TemporaryFile::create(directory);
    if (!file) {
        result.error = errno;
        return result;
    }
    buffer.clear();
    buffer.append(hlavicka_suboru);
    for (int32_t i = 0; i < pocet; ++i) {
        prefetchAhead(tabulka, i, pocet);
        if (buffer.size() >= piece_size) {
            if (!file->write(buffer.text())) {
                result.error = errno;
                return result;
            }
            buffer.clear();
            if (progress) {
                progress(static_cast<uint64_t>(i), static_cast<uint64_t>(pocet));
            }
        }
        appendRecordLine(buffer, *tabulka[i]);
    }
    if (!file->write(buffer.text())) {
        result.error = errno;
        return result;
    }
    buffer.clear();
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
