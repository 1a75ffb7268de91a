#include "io/FailingDisk.hpp"

#include <atomic>
#include <cstdarg>
#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<int> sync_error{0};
std::atomic<int> link_error{0};
std::atomic<bool> anonymous_refused{false};

int failWith(std::atomic<int>& armed) {
    const int error = armed.exchange(0);
    if (error == 0) {
        return 0;
    }
    errno = error;
    return -1;
}
} // namespace

void FailingDisk::failNextSync(int error) { sync_error = error; }
void FailingDisk::failNextLink(int error) { link_error = error; }
void FailingDisk::refuseAnonymousFiles(bool refuse) { anonymous_refused = refuse; }
void FailingDisk::reset() {
    sync_error = 0;
    link_error = 0;
    anonymous_refused = false;
}

extern "C" int openat(int directory, const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = static_cast<mode_t>(va_arg(rest, int));
        va_end(rest);
    }
    if (anonymous_refused && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_openat, directory, path, flags, mode));
}

extern "C" int fdatasync(int fd) noexcept {
    if (failWith(sync_error) != 0) {
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fdatasync, fd));
}

extern "C" int linkat(int from_directory, const char* from, int to_directory, const char* to, int flags) noexcept {
    if (failWith(link_error) != 0) {
        return -1;
    }
    return static_cast<int>(::syscall(SYS_linkat, from_directory, from, to_directory, to, flags));
}
