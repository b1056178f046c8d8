#pragma once

#include <cstddef>

namespace zandrel::view3d {

// A program that draws a map touches tens of MiB of fresh heap before its first picture, most
// of it inside the GL driver: its context, texture levels, vertex buffers and the bins of the
// frame. Taken 4 KiB at a time that is thousands of page faults, and under a hypervisor each
// one costs as much as drawing a row of the map. Reserve grows the C library's main heap once
// and asks the kernel to back it with transparent huge pages, so that this memory arrives
// 2 MiB per fault; and it keeps blocks up to kLargestInHeap in that heap instead of in mappings
// of their own, which would start from 4 KiB pages again. Called first thing in main, before
// any other thread starts.
class HugePageHeap {
public:
    static constexpr std::size_t kLargestInHeap = std::size_t{16} << 20;

    // Grows the heap by at least bytes (up to 128 MiB) and returns how many bytes of it were
    // advised; 0 where the process allocates another way (a sanitizer's allocator) or the
    // kernel has no huge pages, and nothing changed but the allocator's thresholds.
    static std::size_t Reserve(std::size_t bytes);
};

}  // namespace zandrel::view3d
