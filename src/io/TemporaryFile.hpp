#pragma once

#include "io/OutputFileName.hpp"
#include "signals/EndingSignals.hpp"
#include "sink/ByteSink.hpp"

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

// A file written out of sight and named once whole: where the system allows,
// anonymous (O_TMPFILE), gone however the program ends unpublished; else a
// hidden ".klienti-PID-N.tmp" that an ending signal removes. Write it on any
// thread, the rest on one.
class TemporaryFile final : public ByteSink {
    struct Made { explicit Made() = default; }; // by create() alone

public:
    // With a plain creation's permissions (0666 less the umask); nothing on
    // failure, with errno set. Made in place: it never moves.
    static std::optional<TemporaryFile> create(const std::filesystem::path& directory);

    TemporaryFile(Made, int directory, int fd, const std::array<char, 64>& hidden) noexcept
        : directory_(directory), fd_(fd), hidden_(hidden) {}
    ~TemporaryFile(); // discards the file unless it was published

    bool write(std::string_view bytes) noexcept override;
    // Waits until the bytes written are on the disk, on the writing thread,
    // so that the wait overlaps whatever runs beside it; publishing then has
    // little left to wait for. False with errno set.
    bool makeDurable() noexcept;

    // Makes the file durable, closes it and links it as the first free name
    // numbered 1..last, never replacing an entry. False with errno set
    // (EEXIST: every name taken) and the file discarded; tried is the last
    // name tried, the file's name on success. An ending signal's clean-up
    // comes wholly before (the file is removed) or after (it has its name).
    bool publish(const std::tm& local_time, int last, OutputFileName& tried) noexcept;
    // The same, linked as `name` alone, relative to the directory.
    bool publish(const char* name) noexcept;

private:
    // Links the file as name(1), name(2) ... name(last), the first that is free.
    template <typename Name>
    bool publishFirstFree(int last, Name name) noexcept;
    void discard() noexcept;
    static void removeHidden(void* file) noexcept;

    int directory_; // opened for the names relative to it
    int fd_;
    std::array<char, 64> hidden_{}; // the hidden name; empty for an anonymous file
    uint64_t written_ = 0;
    uint64_t flushed_ = 0; // of the bytes written, those handed to the disk
    OnEndingSignal removal_{removeHidden, this};
};
