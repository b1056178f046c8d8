#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "view3d/HugePageHeap.h"

namespace {

// Whether the mapping that holds address is advised for huge pages: "hg" in its VmFlags.
bool AdvisedForHugePages(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t from = 0;
        std::uintptr_t to = 0;
        if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR, &from, &to) == 2) {
            inside = from <= at && at < to;
        } else if (inside && line.starts_with("VmFlags:")) {
            return (line + " ").find(" hg ") != std::string::npos;
        }
    }
    return false;
}

// A block the size of a frame buffer comes from memory advised for huge pages, not from a
// mapping of its own that would fault 4 KiB at a time. Its start may lie in what the heap held
// before.
TEST(HugePageHeap, FrameSizedBlocksComeFromTheAdvisedHeap) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps no heap of the C library's";
#endif
    if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled")) {
        GTEST_SKIP() << "this kernel has no transparent huge pages";
    }
    ASSERT_GE(zandrel::view3d::HugePageHeap::Reserve(std::size_t{32} << 20), std::size_t{28} << 20);
    constexpr std::size_t kFrame = std::size_t{5} << 20;
    const std::unique_ptr<char[]> frame(new char[kFrame]);
    EXPECT_TRUE(AdvisedForHugePages(frame.get() + kFrame - 1));
}

}  // namespace
