#include "notara/core/Utf8.h"

#include <cstdint>
#include <cstring>

namespace notara {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

// Length of the longest prefix of `bytes` that starts a valid sequence (at least 1), used
// to skip a maximal invalid subpart.
size_t invalidPrefixLength(std::string_view bytes) {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    size_t needed = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        needed = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        needed = 2;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        needed = 3;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    size_t i = 1;
    for (; i <= needed && i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < low || b > high) break;
        low = 0x80;
        high = 0xBF;
    }
    return i;
}

bool isAsciiWord(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

} // namespace

size_t validUtf8SequenceLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    if (b0 < 0x80) return 1;
    const size_t full = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : 2;
    return (b0 >= 0xC2 && b0 <= 0xF4 && invalidPrefixLength(bytes) == full) ? full : 0;
}

size_t firstInvalidUtf8(std::string_view bytes) {
    // Most text is valid, and long ASCII runs are checked eight bytes at a time.
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        if (i + 8 <= n && isAsciiWord(bytes.data() + i)) {
            i += 8;
        } else if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
        } else {
            const size_t length = validUtf8SequenceLength(bytes.substr(i));
            if (length == 0) return i;
            i += length;
        }
    }
    return std::string_view::npos;
}

std::string validUtf8(std::string_view bytes) {
    const size_t n = bytes.size();
    size_t i = firstInvalidUtf8(bytes);
    if (i == std::string_view::npos) return std::string(bytes);
    std::string out(bytes.substr(0, i));
    out.reserve(n + 16);
    while (i < n) {
        const size_t length = validUtf8SequenceLength(bytes.substr(i));
        if (length != 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += replacement;
            i += invalidPrefixLength(bytes.substr(i));
        }
    }
    return out;
}

} // namespace notara
