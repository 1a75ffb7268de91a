#include "sink/ByteSink.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

// A descriptor someone set not to block, full while its reader drains it a
// little at a time: the write waits for room and every byte arrives.
TEST(DescriptorSink, WaitsWhereADescriptorThatDoesNotBlockIsFull) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::fcntl(ends[1], F_SETPIPE_SZ, 4096);
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    std::string bytes;
    for (int i = 0; bytes.size() < (std::size_t{1} << 20); ++i) {
        bytes += std::to_string(i) + '\n';
    }
    std::string arrived;
    std::thread reader([&] {
        char buffer[512];
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
            arrived.append(buffer, static_cast<std::size_t>(n));
        }
    });
    EXPECT_TRUE(DescriptorSink(ends[1]).write(bytes));
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_EQ(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes);
}
