#include "html/parser/Utf8.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace html::utf8 {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

// Length of the maximal invalid subpart at the start of `bytes` (at least 1): the lead byte and
// the continuation bytes that could still have begun a valid sequence.
std::size_t maximalSubpartLength(std::string_view bytes) noexcept {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    std::size_t needed = 0;
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
    std::size_t i = 1;
    for (; i <= needed && i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < low || b > high) break;
        low = 0x80;
        high = 0xBF;
    }
    return i;
}

#if !defined(__SSE2__)
bool isAsciiWord(const char* p) noexcept {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

bool isAsciiBlock(const char* p) noexcept {
    std::uint64_t words[4];
    std::memcpy(words, p, sizeof words);
    return ((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) == 0;
}
#endif

} // namespace

std::size_t firstInvalid(std::string_view bytes) noexcept {
    // Most text is valid, and long ASCII runs are skipped many bytes at a time: with SSE2, to the
    // next byte at or above 0x80 directly, 16 bytes per step; otherwise 32 and then 8 at a time.
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    const char* data = bytes.data();
    while (i < n) {
#if defined(__SSE2__)
        if (i + 16 <= n) {
            const auto high = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i))));
            if (high == 0) {
                i += 16;
                continue;
            }
            i += static_cast<std::size_t>(__builtin_ctz(high));
        }
#else
        if (i + 32 <= n && isAsciiBlock(data + i)) {
            i += 32;
            continue;
        }
        if (i + 8 <= n && isAsciiWord(data + i)) {
            i += 8;
            continue;
        }
#endif
        if (static_cast<unsigned char>(data[i]) < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        if (decode(data + i, n - i, len) == invalid) return i;
        i += static_cast<std::size_t>(len);
    }
    return std::string_view::npos;
}

std::size_t appendRepairedAt(std::string& out, std::string_view bytes, std::size_t i, Repair how) {
    int len = 0;
    if (decode(bytes.data() + i, bytes.size() - i, len) != invalid) {
        out.append(bytes.data() + i, static_cast<std::size_t>(len));
        return static_cast<std::size_t>(len);
    }
    out += replacement;
    return how == Repair::EachByte ? 1 : maximalSubpartLength(bytes.substr(i));
}

std::string repaired(std::string_view bytes, Repair how) {
    std::size_t i = firstInvalid(bytes);
    if (i == std::string_view::npos) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 16);
    out.append(bytes.data(), i);
    while (i < bytes.size())
        i += appendRepairedAt(out, bytes, i, how);
    return out;
}

} // namespace html::utf8
