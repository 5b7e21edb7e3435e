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
#define CORVANE_TUNED_HEAP 1
#endif

namespace corvane {

bool ProcessHeap::growInLargeSteps(std::size_t reserve) {
#ifdef CORVANE_TUNED_HEAP
    // Large blocks (a big list) come from the heap too, so that freeing one leaves its pages for
    // the next rather than unmapping them; the heap grows by `reserve` at a time and is never
    // trimmed. (Large pages for the heap were tried: they saved no time and cost a few MB of
    // partly used 2 MiB pages; the HTML arena takes them for its own blocks.)
    const bool set = mallopt(M_MMAP_THRESHOLD, static_cast<int>(reserve / 2)) == 1 &&
                     mallopt(M_TRIM_THRESHOLD, static_cast<int>(reserve * 2)) == 1 &&
                     mallopt(M_TOP_PAD, static_cast<int>(reserve)) == 1;
    return set;
#else
    (void)reserve;
    return false;
#endif
}

} // namespace corvane
