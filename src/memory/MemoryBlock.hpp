#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

// A million records fill a few hundred megabytes, and touching fresh memory
// a small page at a time is most of what loading them and each cycle's
// tables cost. Memory taken a huge page's worth or more at once is mapped
// aligned to a huge page, and its whole huge pages are marked so that the
// kernel may back them with huge pages (where transparent huge pages are on,
// Linux does for marked memory): a fault a huge page instead of one every
// 4 KiB. The rest stays on small pages, so it costs no more than it uses.
// A MemoryBlock is such memory, or a small block from the free store.
inline constexpr std::size_t huge_page = std::size_t{2} << 20;

struct MemoryBlockDelete {
    std::size_t mapped; // 0: taken from the free store
    void operator()(std::byte* memory) const noexcept {
        if (mapped > 0) {
            ::munmap(memory, mapped);
        } else {
            ::operator delete(memory);
        }
    }
};
using MemoryBlock = std::unique_ptr<std::byte[], MemoryBlockDelete>;

// The bytes a request of size bytes maps: whole small pages from a huge page
// up, none (the free store serves it) below.
inline std::size_t mappedSize(std::size_t size) noexcept {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size < huge_page ? 0 : (size + page - 1) / page * page;
}

// size bytes; from a huge page up mapped as above (what the mapping holds
// before and after them is given back, so that no address space is spent
// twice), less from the free store. Throws std::bad_alloc.
inline MemoryBlock takeMemory(std::size_t size) {
    const std::size_t mapped = mappedSize(size);
    if (mapped == 0) {
        return MemoryBlock(static_cast<std::byte*>(::operator new(size)), MemoryBlockDelete{0});
    }
    if (mapped > std::numeric_limits<std::size_t>::max() - huge_page) {
        throw std::bad_alloc();
    }
    void* const whole = ::mmap(nullptr, mapped + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (whole == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* const first = static_cast<std::byte*>(whole);
    auto* const aligned = first + (huge_page - reinterpret_cast<std::uintptr_t>(first) % huge_page) % huge_page;
    if (aligned != first) {
        ::munmap(first, static_cast<std::size_t>(aligned - first));
    }
    if (const auto after = static_cast<std::size_t>(first + mapped + huge_page - (aligned + mapped)); after > 0) {
        ::munmap(aligned + mapped, after);
    }
    ::madvise(aligned, size / huge_page * huge_page, MADV_HUGEPAGE); // only a wish: refused, small pages serve
    return MemoryBlock(aligned, MemoryBlockDelete{mapped});
}

// Takes a container's memory as takeMemory does: for the big tables of a
// cycle (pointers, sort entries), fresh memory as the records are.
template <typename T>
struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return reinterpret_cast<T*>(takeMemory(n * sizeof(T)).release());
    }
    void deallocate(T* memory, std::size_t n) noexcept {
        MemoryBlockDelete{mappedSize(n * sizeof(T))}(reinterpret_cast<std::byte*>(memory));
    }
    friend bool operator==(const HugePageAllocator&, const HugePageAllocator&) noexcept { return true; }
};

template <typename T>
using HugeVector = std::vector<T, HugePageAllocator<T>>;
