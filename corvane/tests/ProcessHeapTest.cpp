#include "corvane/ProcessHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace {

// After the set-up a large block comes from the heap itself (below its break), not from a
// mapping of its own that freeing would give back, and a freed one is reused by the next.
TEST(ProcessHeapTest, LargeBlocksComeFromTheHeapAndAreReused) {
    if (!corvane::ProcessHeap::growInLargeSteps()) GTEST_SKIP() << "the heap is not glibc's own here";
    const std::size_t size = std::size_t{8} << 20;
    char* block = static_cast<char*>(std::malloc(size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(block) + size, end + 1);
    // Compared as numbers: the first block is gone by the time the second is asked for.
    const auto first = reinterpret_cast<std::uintptr_t>(block);
    std::free(block);
    char* again = static_cast<char*>(std::malloc(size));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(again), first);
    std::free(again);
}

} // namespace
