#pragma once

#include "io/OutputFileName.hpp"

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

// A new file written out of sight and given its name only once it is whole.
// Where the system offers one it is an anonymous file in the target directory
// (O_TMPFILE), which vanishes by itself however the program ends before it is
// published; otherwise it is a hidden ".klienti-PID-N.tmp" beside the outputs,
// which an ending signal removes (removeTemporaryOnSignal). Create, publish
// and discard it on the main thread, where those signals are handled; write
// it on any. Only one hidden temporary exists at a time.
class TemporaryFile {
public:
    enum class Kind { anonymous_if_possible, hidden_name };

    // Creates the file in the directory with the permissions a plain creation
    // gives (0666 less the umask). Gives nothing on failure, with errno set.
    static std::optional<TemporaryFile> create(const std::filesystem::path& directory,
                                               Kind kind = Kind::anonymous_if_possible);

    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    // Discards the file unless it was published.
    ~TemporaryFile();

    // Writes all the bytes; false on failure, with errno set.
    bool write(std::string_view bytes) noexcept;

    // Makes the written bytes durable, closes the file and gives it the first
    // name of the local time's series, numbers first to last, that does not
    // exist yet: an existing entry is never replaced. Gives the number of the
    // name given, or nothing on failure, with errno set (EEXIST when every
    // name was taken) and the file discarded; tried is the last name tried.
    std::optional<int> publish(const std::tm& local_time, int first, int last, OutputFileName& tried) noexcept;

private:
    TemporaryFile(int directory, int fd) noexcept : directory_(directory), fd_(fd) {}
    bool linkAs(const OutputFileName& name) const noexcept;
    void discard() noexcept;

    int directory_; // the directory, opened for the names relative to it
    int fd_;
    std::array<char, 64> hidden_{}; // the hidden name; empty for an anonymous file
    uint64_t written_ = 0;          // bytes written so far
    uint64_t flushed_ = 0;          // bytes handed to the disk so far
};

// Removes the hidden temporary being written, if there is one. Safe to call
// from a signal handler.
void removeTemporaryOnSignal() noexcept;
