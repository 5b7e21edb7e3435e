#include "corvane/ProcessHeap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CORVANE_SANITIZED_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define CORVANE_SANITIZED_HEAP 1
#endif
#endif

#if defined(__linux__) && defined(__GLIBC__) && !defined(CORVANE_SANITIZED_HEAP)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define CORVANE_TUNED_HEAP 1
#endif

namespace corvane {

bool ProcessHeap::preferLargePages(std::size_t reserve) {
#ifdef CORVANE_TUNED_HEAP
    constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
    // Large blocks (a file read whole, a big list) come from the heap too, so that freeing one
    // leaves its pages for the next rather than unmapping them.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(reserve / 2));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(reserve * 2));
    mallopt(M_TOP_PAD, static_cast<int>(reserve));
    // Grow the heap now, by `reserve`, and advise the whole new part; pages are still only
    // taken as they are touched.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* volatile grown = std::malloc(largePage); // volatile: the pair must not be elided
    std::free(grown);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t start = (before + largePage - 1) & ~(largePage - 1);
    return after > start && madvise(reinterpret_cast<void*>(start), after - start, MADV_HUGEPAGE) == 0;
#else
    (void)reserve;
    return false;
#endif
}

} // namespace corvane
