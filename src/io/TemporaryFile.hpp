#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

// A new file written out of sight and given its name only once it is whole.
// Where the system offers one it is an anonymous file in the target directory
// (O_TMPFILE), which vanishes by itself however the program ends before it is
// published; otherwise it is a hidden ".klienti-PID-N.tmp" beside the outputs,
// which an interrupting signal removes (removeTemporaryOnSignal). Only one
// hidden temporary exists at a time: the program writes one output at a time.
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
    bool write(std::string_view bytes);

    // Makes the written bytes durable, closes the file and gives it the first
    // name of name(first), name(first + 1), ... name(last) that does not
    // exist yet: an existing entry is never replaced. Gives the number of the
    // name given, or nothing on failure, with errno set and tried holding the
    // last name tried; the file is then discarded.
    std::optional<int> publish(const std::function<std::filesystem::path(int)>& name, int first, int last,
                               std::filesystem::path& tried);

    bool isAnonymous() const noexcept { return hidden_.empty(); }

private:
    TemporaryFile(int fd, std::filesystem::path hidden) noexcept : fd_(fd), hidden_(std::move(hidden)) {}
    bool linkAs(const std::filesystem::path& name) const;
    void discard() noexcept;

    int fd_;
    std::filesystem::path hidden_; // empty for an anonymous file
    uint64_t written_ = 0;         // bytes written so far
    uint64_t flushed_ = 0;         // bytes handed to the disk so far
};

// Removes the hidden temporary being written, if there is one. Safe to call
// from a signal handler.
void removeTemporaryOnSignal() noexcept;
