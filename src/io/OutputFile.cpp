#include "io/OutputFile.hpp"

#include "io/RecordLine.hpp"
#include "memory/Prefetch.hpp"

#include <cerrno>

namespace {
constexpr int last_number = 9999;         // the names of one minute tried before giving up
constexpr std::size_t batch_size = 16384; // records formatted in one batch: about a mebibyte of text
} // namespace

OutputFile::OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers)
    : file_(TemporaryFile::create(directory)), error_(file_ ? 0 : errno),
      buffers_(count, batch_size, record_line_room, workers) {}

void OutputFile::write(Klient* const* tabulka, std::size_t count, const ProgressCallback& progress) noexcept {
    if (!file_) {
        return;
    }
    const auto format = [tabulka](TextBuffer& buffer, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            prefetchAhead(tabulka, i, to);
            appendRecordLine(buffer, *tabulka[i]);
        }
    };
    if (!file_->write(hlavicka_suboru) || !writeInOrder(count, buffers_, format, *file_, progress)) {
        error_ = errno;
    }
}

OutputResult OutputFile::publish(const std::tm& local_time) noexcept {
    OutputResult result{false, OutputFileName(local_time), error_};
    if (file_ && error_ == 0) {
        result.written = file_->publish(local_time, last_number, result.name);
        result.error = result.written ? 0 : errno;
    }
    file_.reset();
    return result;
}
