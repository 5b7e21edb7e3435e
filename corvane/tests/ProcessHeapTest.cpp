#include "corvane/ProcessHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The flags of the mapping of this process that holds `address`, from /proc/self/smaps.
std::string flagsOfMapping(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= at && at < to;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}

// A large block allocated after the set-up lies in the heap's advised part: freeing it keeps its
// pages for the next, and touching it takes large pages.
TEST(ProcessHeapTest, LargeBlocksComeFromTheAdvisedHeap) {
    if (!corvane::ProcessHeap::preferLargePages()) GTEST_SKIP() << "the heap is not glibc's own here";
    const std::size_t size = std::size_t{8} << 20;
    char* block = static_cast<char*>(std::malloc(size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size);
    const std::string flags = flagsOfMapping(block + size / 2);
    std::free(block);
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

} // namespace
