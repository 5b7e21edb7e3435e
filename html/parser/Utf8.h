#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small UTF-8 helpers shared by the reader, the references and the tokeniser.
namespace html::utf8 {

// Appends `c`; anything that is not a Unicode scalar value (a surrogate, or beyond U+10FFFF)
// becomes U+FFFD, so that the output is always valid UTF-8. The one encoder of the library.
inline void append(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        out.append("\xEF\xBF\xBD");
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        const char b[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 2);
    } else if (c < 0x10000) {
        const char b[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 3);
    } else {
        const char b[4] = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                           static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 4);
    }
}

inline std::string encode(char32_t c) {
    std::string s;
    append(s, c);
    return s;
}

inline int encodedLength(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Length of the sequence announced by a lead byte; 0 for a continuation or an invalid byte.
inline int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

inline constexpr char32_t invalid = 0xFFFFFFFF;

// Decodes the scalar at `p` (at most `avail` bytes readable). Returns `invalid` for a
// malformed, truncated, overlong or surrogate sequence or a value above U+10FFFF; `len`
// receives the sequence length on success.
inline char32_t decode(const char* p, std::size_t avail, int& len) {
    const auto b0 = static_cast<unsigned char>(p[0]);
    if (b0 < 0x80) {
        len = 1;
        return b0;
    }
    const int n = sequenceLength(b0);
    if (n == 0 || static_cast<std::size_t>(n) > avail) return invalid;
    char32_t c = b0 & (0x7F >> n);
    for (int i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if ((b & 0xC0) != 0x80) return invalid;
        c = (c << 6) | (b & 0x3F);
    }
    if (encodedLength(c) != n || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return invalid;
    len = n;
    return c;
}

// How much a U+FFFD stands for when malformed UTF-8 is repaired: one byte (what the HTML input
// stream does), or a maximal invalid subpart (the Unicode standard's recommendation, which
// keeps a cut character one replacement).
enum class Repair { EachByte, MaximalSubpart };

// Offset of the first byte that does not start a valid sequence, or npos when all is valid.
std::size_t firstInvalid(std::string_view bytes) noexcept;

// Appends the sequence at bytes[i] when valid, else one U+FFFD for what `how` makes it stand
// for; returns the number of bytes consumed (at least one). bytes[i] must exist.
std::size_t appendRepairedAt(std::string& out, std::string_view bytes, std::size_t i, Repair how);

// Copies `bytes`, replacing malformed sequences by U+FFFD. Valid input is copied unchanged.
std::string repaired(std::string_view bytes, Repair how = Repair::EachByte);

} // namespace html::utf8
