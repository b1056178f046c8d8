#include "view3d/HugePageHeap.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zandrel::view3d {

std::size_t HugePageHeap::Reserve(std::size_t bytes) {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kBlock = kLargestInHeap / 2;
    constexpr std::size_t kMaxBlocks = 16;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const std::size_t count = std::min((bytes + kBlock - 1) / kBlock, kMaxBlocks);
    // Freeing the reserve below must not hand it back, and the driver's larger buffers must
    // come from it rather than from fresh mappings.
    if (mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargestInHeap)) == 0 ||
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(count * kBlock + kLargestInHeap)) == 0) {
        return 0;
    }
    const auto top = [] { return reinterpret_cast<std::uintptr_t>(sbrk(0)); };
    const std::uintptr_t before = top();
    std::array<void*, kMaxBlocks> blocks{};
    for (std::size_t i = 0; i < count; ++i) {
        blocks[i] = std::malloc(kBlock);
    }
    const std::uintptr_t after = top();
    // Only aligned huge pages wholly inside the heap can be backed by one; an allocator that
    // does not grow the heap leaves before and after equal.
    const std::uintptr_t from = (before + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = after & ~(kHugePage - 1);
    std::size_t advised = 0;
    if (to > from && madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE) == 0) {
        advised = to - from;
    }
    // Last first, so that each block joins the free top of the heap.
    for (std::size_t i = count; i > 0; --i) {
        std::free(blocks[i - 1]);
    }
    return advised;
#else
    static_cast<void>(bytes);
    return 0;
#endif
}

}  // namespace zandrel::view3d
