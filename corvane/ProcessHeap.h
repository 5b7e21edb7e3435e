#pragma once

#include <cstddef>

namespace corvane {

/// The heap of a short-lived tool that builds a large model at once (an import, a listing): grown
/// in large steps, and what it frees kept for reuse rather than given back and faulted in again,
/// which on a virtual machine costs more than one would think.
class ProcessHeap {
public:
    /// Call once, early in main. Does nothing where the C library or a sanitizer owns the heap
    /// differently (false then). `reserve`: bytes to grow the heap by at once.
    static bool growInLargeSteps(std::size_t reserve = std::size_t{64} << 20);
};

} // namespace corvane
