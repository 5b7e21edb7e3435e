#pragma once

#include <cstddef>

namespace corvane {

/// The heap of a short-lived tool that builds a large model at once (an import, a listing): grown
/// in large steps, what it frees kept for reuse, and offered to the kernel for large pages. On a
/// virtual machine a fresh process paid more for its page faults (one per 4 KiB touched) than for
/// the work itself; large pages take one per 2 MiB.
class ProcessHeap {
public:
    /// Call once, early in main. Does nothing where the C library or a sanitizer owns the heap
    /// differently (false then). `reserve`: bytes to grow the heap by at once and advise for
    /// large pages.
    static bool preferLargePages(std::size_t reserve = std::size_t{64} << 20);
};

} // namespace corvane
