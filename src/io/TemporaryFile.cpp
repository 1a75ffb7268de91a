#include "io/TemporaryFile.hpp"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr uint64_t flush_step = uint64_t{8} << 20; // written bytes handed to the disk at a time

void keepingErrno(const auto& cleanUp) noexcept {
    const int error = errno;
    cleanUp();
    errno = error;
}
} // namespace

std::optional<TemporaryFile> TemporaryFile::create(const std::filesystem::path& directory) {
    int dir;
    do {
        dir = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    if (dir < 0) {
        return std::nullopt;
    }
    const auto fail = [dir] {
        keepingErrno([dir] { ::close(dir); });
        return std::nullopt;
    };
    // Publishing links an anonymous file through /proc, which needs no privilege.
    if (::access("/proc/self/fd", X_OK) == 0) {
        const int fd = ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return std::optional<TemporaryFile>(std::in_place, Made{}, dir, fd, std::array<char, 64>{});
        }
        // EISDIR: a kernel without O_TMPFILE; EOPNOTSUPP: a file system without it.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return fail();
        }
    }
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::array<char, 64> hidden{};
        std::snprintf(hidden.data(), hidden.size(), ".klienti-%ld-%lu.tmp", static_cast<long>(::getpid()), counter++);
        // Known to an ending signal's clean-up as soon as the name exists.
        const auto held = holdOffEndingSignals();
        const int fd = ::openat(dir, hidden.data(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return std::optional<TemporaryFile>(std::in_place, Made{}, dir, fd, hidden);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return fail();
}

TemporaryFile::~TemporaryFile() {
    discard();
    ::close(directory_);
}

void TemporaryFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    const auto held = holdOffEndingSignals();
    removeHidden(this);
    hidden_[0] = '\0';
}

void TemporaryFile::removeHidden(void* file) noexcept { // also on an ending signal
    const auto& self = *static_cast<const TemporaryFile*>(file);
    if (self.hidden_[0] != '\0') {
        ::unlinkat(self.directory_, self.hidden_.data(), 0);
    }
}

bool TemporaryFile::write(std::string_view bytes) noexcept {
    if (!DescriptorSink(fd_).write(bytes)) {
        return false;
    }
    written_ += bytes.size();
#ifdef SYNC_FILE_RANGE_WRITE
    // Start writing the bytes to the disk now, in the background, so that
    // publishing has little left to wait for. Only a hint: its failure is no
    // failure of the write (publishing makes the file durable or fails).
    if (written_ - flushed_ >= flush_step) {
        ::sync_file_range(fd_, static_cast<off_t>(flushed_), static_cast<off_t>(written_ - flushed_),
                          SYNC_FILE_RANGE_WRITE);
        flushed_ = written_;
    }
#endif
    return true;
}

bool TemporaryFile::makeDurable() noexcept { return ::fdatasync(fd_) == 0; }

template <typename Name>
bool TemporaryFile::publishFirstFree(int last, Name name) noexcept {
    const auto held = holdOffEndingSignals();
    const auto fail = [this] {
        keepingErrno([this] { discard(); });
        return false;
    };
    const auto closeFile = [this] { return ::close(std::exchange(fd_, -1)) == 0; };
    const bool hidden = hidden_[0] != '\0';
    std::array<char, 40> self{}; // an anonymous file is linked through /proc
    std::snprintf(self.data(), self.size(), "/proc/self/fd/%d", fd_);
    // Durable before it has a name: after a power loss the name shows either
    // the whole file or nothing.
    if (::fdatasync(fd_) != 0) {
        return fail();
    }
    // A hidden file is closed before it gets its name, so that a failing
    // close never leaves a name behind; an anonymous one exists only while
    // open, so it is closed after, and a failing close takes the name back.
    if (hidden && !closeFile()) {
        return fail();
    }
    for (int number = 1; number <= last; ++number) {
        const char* const tried = name(number);
        if (hidden ? ::linkat(directory_, hidden_.data(), directory_, tried, 0) == 0
                   : ::linkat(AT_FDCWD, self.data(), directory_, tried, AT_SYMLINK_FOLLOW) == 0) {
            if (!hidden && !closeFile()) {
                keepingErrno([&] { ::unlinkat(directory_, tried, 0); });
                return fail();
            }
            discard(); // only the hidden name goes; the file stays under its new name
            return true;
        }
        if (errno != EEXIST) {
            return fail();
        }
    }
    errno = EEXIST; // every name of the series is taken
    return fail();
}

bool TemporaryFile::publish(const std::tm& local_time, int last, OutputFileName& tried) noexcept {
    tried = OutputFileName(local_time);
    return publishFirstFree(last, [&](int number) {
        tried = OutputFileName(local_time, number);
        return tried.c_str();
    });
}

bool TemporaryFile::publish(const char* name) noexcept {
    return publishFirstFree(1, [name](int) { return name; });
}
