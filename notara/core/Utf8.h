#pragma once

#include <string>
#include <string_view>

namespace notara {

/// Length of the valid UTF-8 sequence at the start of `bytes`, or 0 when it starts with an
/// invalid or truncated one (or is empty).
size_t validUtf8SequenceLength(std::string_view bytes);

/// Offset of the first byte that does not start a valid UTF-8 sequence, or npos when all of
/// `bytes` is valid.
size_t firstInvalidUtf8(std::string_view bytes);

/// `bytes` with every invalid UTF-8 sequence replaced by U+FFFD (one per maximal invalid
/// subpart). Valid input is copied unchanged.
std::string validUtf8(std::string_view bytes);

} // namespace notara
