#include "memory/MemoryBlock.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <numeric>

// Every size is wholly usable; from a huge page up the memory starts on a
// huge page, and a table in it keeps what it holds as it grows.
TEST(MemoryBlock, EverySizeIsWholeAndBigOnesAligned) {
    for (const std::size_t size : {std::size_t{1}, huge_page - 1, huge_page, huge_page + 1, 3 * huge_page + 4097}) {
        const MemoryBlock memory = takeMemory(size);
        std::memset(memory.get(), 0x5a, size);
        EXPECT_EQ(memory[size - 1], std::byte{0x5a}) << size;
        EXPECT_EQ(memory.get_deleter().mapped > 0, size >= huge_page) << size;
        if (size >= huge_page) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory.get()) % huge_page, 0u) << size;
        }
    }
    HugeVector<uint64_t> table;
    for (uint64_t i = 0; i < huge_page; ++i) { // through small memory into 16 MiB mapped
        table.push_back(i);
    }
    EXPECT_EQ(std::accumulate(table.begin(), table.end(), uint64_t{0}), uint64_t{huge_page} * (huge_page - 1) / 2);
}

// A freed table gives its memory back: no page of it, first to last, is
// mapped any more.
TEST(MemoryBlock, AFreedTableGivesItsMemoryBack) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    std::uintptr_t ends[2];
    {
        const HugeVector<uint64_t> table(huge_page + 1);
        ends[0] = reinterpret_cast<std::uintptr_t>(table.data());
        ends[1] = reinterpret_cast<std::uintptr_t>(&table.back());
    }
    for (const std::uintptr_t end : ends) {
        errno = 0;
        EXPECT_EQ(::msync(reinterpret_cast<void*>(end - end % page), page, MS_ASYNC), -1);
        EXPECT_EQ(errno, ENOMEM);
    }
}
