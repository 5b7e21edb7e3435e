#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace notara {

/// A 64-bit hash of a sequence of texts, for telling whether what a source lists has changed
/// and for the identities of annotations that have no ids of their own. Stored in the
/// library, so its values must never change: eight bytes at a time, little-endian, each text
/// followed by its length so that ("ab", "c") and ("a", "bc") differ. Not for security.
class ContentHash {
public:
    ContentHash& add(std::string_view text) {
        const char* p = text.data();
        std::size_t n = text.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            mix(word);
        }
        std::uint64_t tail = 0;
        for (std::size_t i = 0; i < n; ++i)
            tail |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
        mix(tail ^ (std::uint64_t(n) << 56));
        mix(text.size());
        return *this;
    }
    ContentHash& add(std::uint64_t number) {
        mix(number);
        return *this;
    }

    std::uint64_t value() const {
        std::uint64_t h = state_;
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        h *= 0xc4ceb9fe1a85ec53ULL;
        h ^= h >> 33;
        return h;
    }

    /// The value as 16 lower-case hexadecimal digits.
    std::string hex() const {
        static constexpr char digits[] = "0123456789abcdef";
        std::string out(16, '0');
        std::uint64_t v = value();
        for (int i = 15; i >= 0; --i, v >>= 4)
            out[static_cast<std::size_t>(i)] = digits[v & 15];
        return out;
    }

private:
    void mix(std::uint64_t word) {
        state_ ^= word;
        state_ *= 0x9E3779B97F4A7C15ULL;
        state_ ^= state_ >> 29;
    }

    std::uint64_t state_ = 0x243F6A8885A308D3ULL;
};

} // namespace notara
