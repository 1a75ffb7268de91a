#include "io/TemporaryFile.hpp"

#include "threads/EndingSignals.hpp"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// How many written bytes are handed to the disk at a time.
constexpr uint64_t flush_step = uint64_t{8} << 20;

// The hidden temporary being written, for the signal handler: its directory
// and a fixed array for its name, since a handler may neither allocate nor
// follow a pointer that is changing. Changed only with the ending signals
// blocked, on the main thread, the one thread where they are handled.
std::atomic<int> pending_directory{-1};
char pending_name[64];
static_assert(std::atomic<int>::is_always_lock_free);

bool anonymousUnsupported(int error) {
    // EISDIR: a kernel without O_TMPFILE; EOPNOTSUPP: a file system without it.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

std::optional<TemporaryFile> TemporaryFile::create(const std::filesystem::path& directory, Kind kind) {
    int dir;
    do {
        dir = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    if (dir < 0) {
        return std::nullopt;
    }
    const auto fail = [dir] {
        const int error = errno;
        ::close(dir);
        errno = error;
        return std::nullopt;
    };
    // Publishing links an anonymous file through /proc, which needs no privilege.
    if (kind == Kind::anonymous_if_possible && ::access("/proc/self/fd", X_OK) == 0) {
        const int fd = ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return TemporaryFile(dir, fd);
        }
        if (!anonymousUnsupported(errno)) {
            return fail();
        }
    }
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::array<char, 64> hidden{};
        std::snprintf(hidden.data(), hidden.size(), ".klienti-%ld-%lu.tmp", static_cast<long>(::getpid()), counter++);
        const EndingSignalsBlocked blocked;
        const int fd = ::openat(dir, hidden.data(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            TemporaryFile file(dir, fd);
            file.hidden_ = hidden;
            std::memcpy(pending_name, hidden.data(), sizeof pending_name);
            pending_directory.store(dir);
            return file;
        }
        if (errno != EEXIST) {
            return fail();
        }
    }
    return fail();
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : directory_(other.directory_), fd_(other.fd_), hidden_(other.hidden_), written_(other.written_),
      flushed_(other.flushed_) {
    other.directory_ = -1;
    other.fd_ = -1;
    other.hidden_[0] = '\0';
}

TemporaryFile::~TemporaryFile() {
    discard();
    if (directory_ >= 0) {
        ::close(directory_);
    }
}

void TemporaryFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (hidden_[0] != '\0') {
        const EndingSignalsBlocked blocked;
        ::unlinkat(directory_, hidden_.data(), 0);
        pending_directory.store(-1);
        hidden_[0] = '\0';
    }
}

bool TemporaryFile::write(std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        written_ += static_cast<uint64_t>(n);
    }
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

bool TemporaryFile::linkAs(const OutputFileName& name) const noexcept {
    if (hidden_[0] != '\0') {
        return ::linkat(directory_, hidden_.data(), directory_, name.c_str(), 0) == 0;
    }
    std::array<char, 40> self{};
    std::snprintf(self.data(), self.size(), "/proc/self/fd/%d", fd_);
    return ::linkat(AT_FDCWD, self.data(), directory_, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

std::optional<int> TemporaryFile::publish(const std::tm& local_time, int first, int last,
                                          OutputFileName& tried) noexcept {
    const auto fail = [&] {
        const int error = errno;
        discard();
        errno = error;
        return std::nullopt;
    };
    tried = OutputFileName(local_time, first <= last ? first : last);
    // Durable before it has a name: after a power loss the name shows either
    // the whole file or nothing.
    if (::fdatasync(fd_) != 0) {
        return fail();
    }
    // A hidden file is closed before it gets its name, so that a failing
    // close never leaves a name behind; an anonymous one exists only while
    // open, so it is closed after, and a failing close takes the name back.
    if (hidden_[0] != '\0') {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            return fail();
        }
    }
    for (int number = first; number <= last; ++number) {
        tried = OutputFileName(local_time, number);
        if (linkAs(tried)) {
            if (fd_ >= 0) {
                const int fd = fd_;
                fd_ = -1;
                if (::close(fd) != 0) {
                    const int error = errno;
                    ::unlinkat(directory_, tried.c_str(), 0);
                    errno = error;
                    return fail();
                }
            }
            discard(); // only the hidden name goes; the file stays under its new name
            return number;
        }
        if (errno != EEXIST) {
            return fail();
        }
    }
    errno = EEXIST; // every name of the series is taken
    return fail();
}

void removeTemporaryOnSignal() noexcept {
    const int directory = pending_directory.load();
    if (directory >= 0) {
        ::unlinkat(directory, pending_name, 0);
    }
}
