#include "io/InputFile.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<InputFile> InputFile::open(const std::filesystem::path& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return std::nullopt;
    }
    return InputFile(fd);
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::ptrdiff_t InputFile::read(char* buffer, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(fd_, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

std::uint64_t InputFile::sizeHint() const {
    struct stat info {};
    const bool known = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0;
    return known ? static_cast<std::uint64_t>(info.st_size) : 0;
}
