#include "sink/ByteSink.hpp"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

bool DescriptorSink::write(std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n == 0) {
            errno = EIO; // nothing taken and no reason given: trying again would spin
            return false;
        } else if (errno == EAGAIN) {
            // A descriptor set not to block (by whoever shares it): wait until it takes more.
            pollfd ready{fd_, POLLOUT, 0};
            ::poll(&ready, 1, -1);
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}
