#include "io/OutputFile.hpp"

#include "io/RecordFormat.hpp"
#include "memory/Prefetch.hpp"

#include <cerrno>

namespace {

// How many names of one minute are tried before giving up.
constexpr int last_number = 9999;
// The records formatted in one batch: about a mebibyte of text.
constexpr std::size_t batch_size = 16384;

bool sameMinute(const std::tm& a, const std::tm& b) noexcept {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
           a.tm_min == b.tm_min;
}

} // namespace

OutputFile::OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers)
    : file_(TemporaryFile::create(directory)), error_(file_ ? 0 : errno),
      buffers_(count, batch_size, record_line_room, workers) {}

void OutputFile::write(Klient* const* tabulka, std::size_t count, const ProgressCallback& progress) noexcept {
    if (!file_) {
        return;
    }
    const auto hand_on = [this](std::string_view text) {
        if (file_->write(text)) {
            return true;
        }
        error_ = errno;
        return false;
    };
    const auto format = [tabulka](TextBuffer& buffer, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            prefetchAhead(tabulka, i, to);
            appendRecordLine(buffer, *tabulka[i]);
        }
    };
    if (hand_on(hlavicka_suboru) && !writeInOrder(count, buffers_, format, hand_on, progress) && error_ == 0) {
        error_ = ENOBUFS; // a batch outgrew its buffer: never for records within their limits
    }
}

OutputResult OutputFile::publish(const std::tm& local_time, NameSeries& series) noexcept {
    OutputResult result;
    result.name = OutputFileName(local_time);
    if (!file_ || error_ != 0) {
        file_.reset();
        result.error = error_;
        return result;
    }
    const int first = sameMinute(series.minute, local_time) ? series.last + 1 : 1;
    const std::optional<int> number = file_->publish(local_time, first, last_number, result.name);
    const int error = errno;
    file_.reset();
    if (!number) {
        result.error = error;
        return result;
    }
    series = {local_time, *number};
    result.written = true;
    return result;
}
