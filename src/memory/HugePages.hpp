#pragma once

#include <cstddef>
#include <cstdint>
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
    std::size_t mapped; // 0: taken from the free store
    void operator()(std::byte* memory) const noexcept {
        if (mapped > 0) {
            ::munmap(memory, mapped);
        } else {
            ::operator delete(memory);
        }
    }
};
using HugePages = std::unique_ptr<std::byte[], HugePagesDelete>;

// size bytes; where size is a whole number of huge pages, mapped aligned to
// one (what lies before and after the aligned range is given back, so that
// no address space is spent twice) and marked. Throws std::bad_alloc.
inline HugePages takeMemory(std::size_t size) {
    if (size == 0 || size % huge_page != 0) {
        return HugePages(static_cast<std::byte*>(::operator new(size)), HugePagesDelete{0});
    }
    void* const mapped = ::mmap(nullptr, size + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* const first = static_cast<std::byte*>(mapped);
    auto* const aligned = first + (huge_page - reinterpret_cast<std::uintptr_t>(first) % huge_page) % huge_page;
    if (aligned != first) {
        ::munmap(first, static_cast<std::size_t>(aligned - first));
    }
    if (const std::size_t after = static_cast<std::size_t>(first + size + huge_page - (aligned + size)); after > 0) {
        ::munmap(aligned + size, after);
    }
    ::madvise(aligned, size, MADV_HUGEPAGE); // only a wish: refused, small pages serve
    return HugePages(aligned, HugePagesDelete{size});
}
