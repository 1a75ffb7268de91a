#include "io/TemporaryFile.hpp"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// How many written bytes are handed to the disk at a time.
constexpr uint64_t flush_step = uint64_t{8} << 20;

// The hidden temporary being written, for the signal handler: a fixed array,
// since a handler may neither allocate nor follow a pointer that is changing.
char pending_name[4096];
std::atomic<bool> pending{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Blocks the signals that remove the temporary while it is being registered
// or unregistered, so that a handler never sees half a change.
class SignalsHeld {
public:
    SignalsHeld() noexcept {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            sigaddset(&set, signal);
        }
        pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_;
};

int openAnonymous(const std::filesystem::path& directory) {
#ifdef O_TMPFILE
    // Publishing links the descriptor through /proc, which needs no privilege.
    if (::access("/proc/self/fd", X_OK) == 0) {
        return ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    }
#endif
    (void)directory;
    errno = EOPNOTSUPP;
    return -1;
}

bool anonymousUnsupported(int error) {
    // EISDIR: a kernel without O_TMPFILE; EOPNOTSUPP: a file system without it.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

std::optional<TemporaryFile> TemporaryFile::create(const std::filesystem::path& directory, Kind kind) {
    if (kind == Kind::anonymous_if_possible) {
        const int fd = openAnonymous(directory);
        if (fd >= 0) {
            return TemporaryFile(fd, {});
        }
        if (!anonymousUnsupported(errno)) {
            return std::nullopt;
        }
    }
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path hidden =
            directory / (".klienti-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        const std::string& text = hidden.native();
        if (text.size() >= sizeof pending_name) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        const SignalsHeld held;
        const int fd = ::open(text.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            std::memcpy(pending_name, text.c_str(), text.size() + 1);
            pending.store(true);
            return TemporaryFile(fd, std::move(hidden));
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : fd_(other.fd_), hidden_(std::move(other.hidden_)), written_(other.written_), flushed_(other.flushed_) {
    other.fd_ = -1;
    other.hidden_.clear();
}

TemporaryFile::~TemporaryFile() { discard(); }

void TemporaryFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!hidden_.empty()) {
        const SignalsHeld held;
        ::unlink(hidden_.c_str());
        pending.store(false);
        hidden_.clear();
    }
}

bool TemporaryFile::write(std::string_view bytes) {
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

bool TemporaryFile::linkAs(const std::filesystem::path& name) const {
    if (hidden_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    return ::link(hidden_.c_str(), name.c_str()) == 0;
}

std::optional<int> TemporaryFile::publish(const std::function<std::filesystem::path(int)>& name, int first,
                                          int last, std::filesystem::path& tried) {
    const auto fail = [&] {
        const int error = errno;
        discard();
        errno = error;
        return std::nullopt;
    };
    tried = name(first);
    // Durable before it has a name: after a power loss the name shows either
    // the whole file or nothing.
    if (::fdatasync(fd_) != 0) {
        return fail();
    }
    // A hidden file is closed before it gets its name, so that a failing
    // close never leaves a name behind; an anonymous one exists only while
    // open, so it is closed after, and a failing close takes the name back.
    if (!hidden_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            return fail();
        }
    }
    for (int number = first; number <= last; ++number) {
        tried = name(number);
        if (linkAs(tried)) {
            if (fd_ >= 0) {
                const int fd = fd_;
                fd_ = -1;
                if (::close(fd) != 0) {
                    const int error = errno;
                    ::unlink(tried.c_str());
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
    return fail(); // every name of the series is taken: errno is EEXIST
}

void removeTemporaryOnSignal() noexcept {
    if (pending.load()) {
        ::unlink(pending_name);
    }
}
