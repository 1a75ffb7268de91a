#include "io/OutputFile.hpp"

#include "io/RecordLine.hpp"
#include "memory/Prefetch.hpp"

#include <cerrno>
#include <tuple>

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
    OutputResult result{false, OutputFileName(local_time), error_};
    if (file_ && error_ == 0) {
        const auto minute = [](const std::tm& t) {
            return std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min);
        };
        const int first = minute(series.minute) == minute(local_time) ? series.last + 1 : 1;
        const std::optional<int> number = file_->publish(local_time, first, last_number, result.name);
        result.error = number ? 0 : errno;
        if (number) {
            series = {local_time, *number};
            result.written = true;
        }
    }
    file_.reset();
    return result;
}
