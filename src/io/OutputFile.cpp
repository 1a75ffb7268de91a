#include "io/OutputFile.hpp"

#include "io/RecordLine.hpp"

#include <algorithm>
#include <cerrno>

namespace {
constexpr int last_number = 9999;         // the names of one minute tried before giving up
constexpr std::size_t batch_size = 16384; // records formatted in one batch: about a mebibyte of text
} // namespace

OutputFile::OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers,
                       const Dialect& dialect)
    : file_(TemporaryFile::create(directory)), error_(file_ ? 0 : errno), dialect_(dialect),
      buffers_(count, batch_size, recordLineRoom(dialect.some_field_quoted), workers) {}

void OutputFile::write(const Klient* const* tabulka, std::size_t count, const ProgressCallback& progress) noexcept {
    if (!file_) {
        return;
    }
    const auto format = [this](TextBuffer& buffer, const Klient& klient, std::size_t) {
        appendRecordLine(buffer, klient, dialect_);
    };
    // The header in the dialect, behind a byte order mark where the input had one.
    char header[byte_order_mark.size() + hlavicka_suboru.size()];
    const std::size_t mark = dialect_.byte_order_mark ? byte_order_mark.size() : 0;
    std::copy(byte_order_mark.begin(), byte_order_mark.end(), header);
    std::replace_copy(hlavicka_suboru.begin(), hlavicka_suboru.end(), header + mark, ',', dialect_.separator);
    if (!file_->write({header, mark + hlavicka_suboru.size()}) ||
        !writeRecordsInOrder(tabulka, count, buffers_, format, *file_, progress) || !file_->makeDurable()) {
        error_ = errno != 0 ? errno : EIO; // a failure is never taken for success
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
