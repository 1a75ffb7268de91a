#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <sys/mman.h>

// A million records fill a few hundred megabytes, and touching fresh memory
// a small page at a time is most of what loading them costs. Memory taken a
// huge page's worth at once, aligned to one, is marked so that the kernel may
// back it with huge pages (where transparent huge pages are on, Linux does
// for marked memory): a fault a huge page instead of one every 4 KiB.
inline constexpr std::size_t huge_page = std::size_t{2} << 20;

struct HugePagesDelete {
    bool aligned;
    void operator()(std::byte* memory) const noexcept {
        if (aligned) {
            ::operator delete(memory, std::align_val_t{huge_page});
        } else {
            ::operator delete(memory);
        }
    }
};
using HugePages = std::unique_ptr<std::byte[], HugePagesDelete>;

// size bytes, aligned and marked where size is a whole number of huge pages.
// Throws std::bad_alloc.
inline HugePages takeMemory(std::size_t size) {
    const bool aligned = size % huge_page == 0;
    auto* memory = static_cast<std::byte*>(aligned ? ::operator new(size, std::align_val_t{huge_page})
                                                   : ::operator new(size));
    if (aligned) {
        ::madvise(memory, size, MADV_HUGEPAGE); // only a wish: refused, small pages serve
    }
    return HugePages(memory, HugePagesDelete{aligned});
}
