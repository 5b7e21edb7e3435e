#include "html/parser/ParsingStrings.h"

#include <cstring>

#include "html/parser/Utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace html {

namespace {
void setBit(ParsingStrings::Mask& mask, unsigned char byte) {
    mask[byte >> 6] |= std::uint64_t{1} << (byte & 63);
}

// FNV-1a over the fields that define the set.
struct Hasher {
    std::uint64_t h = 1469598103934665603ull;
    void add(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= (v >> (i * 8)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
};
} // namespace

ParsingStrings::ParsingStrings(std::initializer_list<std::string_view> members) {
    for (auto m : members)
        multiByteChars.emplace_back(m);
    build();
}

ParsingStrings::ParsingStrings(const std::vector<std::string>& members) : multiByteChars(members) {
    build();
}

ParsingStrings::ParsingStrings(const std::vector<char32_t>& scalars) {
    for (char32_t c : scalars) {
        std::string s;
        utf8::append(s, c);
        multiByteChars.push_back(std::move(s));
    }
    build();
}

ParsingStrings::ParsingStrings(const ParsingStrings& other) : multiByteChars(other.multiByteChars) {
    build();
}

void ParsingStrings::build() {
    for (const auto& m : multiByteChars) {
        multiByteCharLengths.push_back(m.size());
        multiByteByteLookupsCount = std::max(multiByteByteLookupsCount, m.size());
    }
    multiByteByteLookups.assign(multiByteByteLookupsCount, Mask{});
    root = std::make_unique<TrieNode>();
    asciiByteSet = !multiByteChars.empty();
    for (const auto& m : multiByteChars) {
        if (!m.empty()) {
            TrieNode* node = root.get();
            for (char b : m)
                node = &node->childOrCreate(static_cast<unsigned char>(b));
            node->isTerminal = true;
        }
        if (m.size() == 1) setBit(singleByteMask, static_cast<unsigned char>(m[0]));
        if (m.size() != 1 || static_cast<unsigned char>(m[0]) >= 0x80) asciiByteSet = false;
        for (std::size_t i = 0; i < m.size(); ++i)
            setBit(multiByteByteLookups[i], static_cast<unsigned char>(m[i]));
        multiByteSet.insert(std::string_view(m));
    }
    if (asciiByteSet) {
        for (int b = 0; b < 128; ++b) {
            if (testBit(singleByteMask, static_cast<unsigned char>(b))) {
                if (stopByteCount < kMaxStopBytes)
                    stopBytes[stopByteCount].fill(static_cast<unsigned char>(b));
                ++stopByteCount;
            }
        }
        if (stopByteCount > kMaxStopBytes)
            stopByteCount = 0; // too many for the compare scan: use the table scan
        else
            for (int i = stopByteCount; i < kMaxStopBytes; ++i)
                stopBytes[i] = stopBytes[0];
    }
    Hasher hasher;
    for (const auto& m : multiByteChars) {
        hasher.add(m.size());
        for (char b : m)
            hasher.add(static_cast<unsigned char>(b));
    }
    for (const auto& mask : multiByteByteLookups)
        for (auto word : mask)
            hasher.add(word);
    precomputedHash = static_cast<std::size_t>(hasher.h);
}

bool ParsingStrings::contains(char32_t scalar) const {
    if (scalar < 0x80) return contains(static_cast<unsigned char>(scalar));
    std::string bytes;
    utf8::append(bytes, scalar);
    return containsTrie(bytes);
}

bool ParsingStrings::contains(std::string_view bytes) const {
    if (bytes.empty()) return multiByteSet.count(bytes) != 0;
    if (bytes.size() > multiByteByteLookupsCount) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!testBit(multiByteByteLookups[i], static_cast<unsigned char>(bytes[i]))) return false;
    return multiByteSet.count(bytes) != 0;
}

bool ParsingStrings::containsTrie(std::string_view bytes) const {
    if (bytes.empty()) return root->isTerminal;
    if (bytes.size() == 1) return contains(static_cast<unsigned char>(bytes[0]));
    const TrieNode* node = root.get();
    for (char b : bytes) {
        node = node->child(static_cast<unsigned char>(b));
        if (!node) return false;
    }
    return node->isTerminal;
}

std::size_t ParsingStrings::scanToMember(const char* data, std::size_t from, std::size_t to) const {
    std::size_t i = from;
#if defined(__SSE2__)
    // Runs are often short: the first byte is looked at before the vectors are loaded.
    if (stopByteCount > 0 && i < to && !testBit(singleByteMask, static_cast<unsigned char>(data[i]))) {
        const auto row = [this](int k) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(stopBytes[k].data()));
        };
        const __m128i s0 = row(0), s1 = row(1), s2 = row(2), s3 = row(3);
        const auto firstHit = [&](auto hits) -> std::size_t {
            for (; i + 16 <= to; i += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
                const int bits = _mm_movemask_epi8(hits(v));
                if (bits != 0)
                    return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
            }
            return to;
        };
        const auto four = [](__m128i v, __m128i a, __m128i b, __m128i c, __m128i d) {
            return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b)),
                                _mm_or_si128(_mm_cmpeq_epi8(v, c), _mm_cmpeq_epi8(v, d)));
        };
        std::size_t hit = to;
        if (stopByteCount <= 4) {
            hit = firstHit([&](__m128i v) { return four(v, s0, s1, s2, s3); });
        } else {
            const __m128i s4 = row(4), s5 = row(5), s6 = row(6), s7 = row(7);
            hit = firstHit(
                [&](__m128i v) { return _mm_or_si128(four(v, s0, s1, s2, s3), four(v, s4, s5, s6, s7)); });
        }
        if (hit != to) return hit;
    }
#endif
    const auto& mask = singleByteMask;
    while (i + 4 <= to) {
        if (testBit(mask, static_cast<unsigned char>(data[i]))) return i;
        if (testBit(mask, static_cast<unsigned char>(data[i + 1]))) return i + 1;
        if (testBit(mask, static_cast<unsigned char>(data[i + 2]))) return i + 2;
        if (testBit(mask, static_cast<unsigned char>(data[i + 3]))) return i + 3;
        i += 4;
    }
    for (; i < to; ++i)
        if (testBit(mask, static_cast<unsigned char>(data[i]))) return i;
    return to;
}

} // namespace html
