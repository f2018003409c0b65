#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

// Large tables that are read at random (the station index and entries) cost
// a TLB miss per access on 4 KiB pages; on 2 MiB pages they mostly do not.
// Small allocations go through the usual heap.
template <typename T>
struct HugePageAllocator
{
    using value_type = T;
    static constexpr std::size_t HugePage = 2 * 1024 * 1024;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U> &) noexcept
    {
    }

    T *allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        const std::size_t alignment = bytes >= HugePage ? HugePage : std::max<std::size_t>(alignof(T), 64);
        void *memory = nullptr;
        if (posix_memalign(&memory, alignment, bytes) != 0)
            throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        if (bytes >= HugePage)
            madvise(memory, bytes, MADV_HUGEPAGE);
#endif
        return static_cast<T *>(memory);
    }
    void deallocate(T *memory, std::size_t) noexcept { std::free(memory); }

    template <typename U>
    bool operator==(const HugePageAllocator<U> &) const noexcept
    {
        return true;
    }
};
