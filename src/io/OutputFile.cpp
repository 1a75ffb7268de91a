#include "io/OutputFile.hpp"

#include "io/RecordLine.hpp"

#include <algorithm>
#include <cerrno>

namespace {
constexpr int last_number = 9999;         // the names of one minute tried before giving up
constexpr std::size_t batch_size = 16384; // records formatted in one batch: about a mebibyte of text
} // namespace

OutputFile::OutputFile(const std::filesystem::path& directory, std::size_t count, unsigned workers,
                       const Dialect& dialect, std::string name)
    : file_(TemporaryFile::create(name.empty() ? directory : (directory / name).parent_path())),
      name_(std::move(name)), link_name_((directory / name_).filename().string()), error_(file_ ? 0 : errno),
      dialect_(dialect), buffers_(count, batch_size, recordLineRoom(dialect), workers) {}

OutputFile::OutputFile(ByteSink& sink, std::size_t count, unsigned workers, const Dialect& dialect)
    : sink_(&sink), dialect_(dialect), buffers_(count, batch_size, recordLineRoom(dialect), workers) {}

void OutputFile::write(const Klient* const* tabulka, std::size_t count, const ProgressCallback& progress) noexcept {
    ByteSink* const sink = file_ ? &*file_ : sink_;
    if (sink == nullptr) {
        return;
    }
    const auto format = [this](TextBuffer& buffer, const Klient& klient, std::size_t) {
        appendRecordLine(buffer, klient, dialect_);
    };
    // The header in the dialect, behind a byte order mark where the input had
    // one, with the dialect's line end.
    const std::string_view columns = hlavicka_suboru.substr(0, hlavicka_suboru.size() - 1);
    const std::string_view line_end = dialect_.lineEnd();
    char header[byte_order_mark.size() + hlavicka_suboru.size() + 1];
    const std::size_t mark = dialect_.byte_order_mark ? byte_order_mark.size() : 0;
    std::copy(byte_order_mark.begin(), byte_order_mark.end(), header);
    std::replace_copy(columns.begin(), columns.end(), header + mark, ',', dialect_.separator);
    std::copy(line_end.begin(), line_end.end(), header + mark + columns.size());
    if (!sink->write({header, mark + columns.size() + line_end.size()}) ||
        !writeRecordsInOrder(tabulka, count, buffers_, format, *sink, progress) ||
        (file_ && !file_->makeDurable())) {
        error_ = errno != 0 ? errno : EIO; // a failure is never taken for success
    }
}

OutputResult OutputFile::publish(const std::tm& local_time) noexcept {
    if (sink_ != nullptr) {
        return {error_ == 0, OutputFileName(), error_};
    }
    OutputResult result{false, OutputFileName(local_time), error_};
    if (file_ && error_ == 0) {
        result.written = name_.empty() ? file_->publish(local_time, last_number, result.name)
                                       : file_->publish(link_name_.c_str());
        result.error = result.written ? 0 : errno;
    }
    file_.reset();
    return result;
}
