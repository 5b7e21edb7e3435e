#pragma once

#include <cstdint>
#include <string>

namespace notara {

/// Sort keys as byte strings: numbers appended with an order-preserving, prefix-free code, so
/// that comparing two keys byte by byte (as std::string does, unsigned) compares the sequences
/// of numbers they hold. Small numbers, the usual case, take one byte.
class SortKey {
public:
    SortKey() = delete;

    /// Appends `value` + `bias` (bias 0 or 1; a biased code never is the byte 0, which can
    /// then close a sequence so that it sorts before its continuations).
    static void appendNumber(std::string& key, std::uint64_t value, unsigned bias = 0);
};

} // namespace notara
