#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "html/parser/TrieNode.h"

namespace html {

// An immutable set of short byte strings (UTF-8 characters, tag names) with constant-time
// membership tests. It backs every character class and tag-name set of the parser.
class ParsingStrings {
public:
    using Mask = std::array<std::uint64_t, 4>; // bit b of word b/64: byte value b

    ParsingStrings(std::initializer_list<std::string_view> members);
    explicit ParsingStrings(const std::vector<std::string>& members);
    explicit ParsingStrings(const std::vector<char32_t>& scalars);

    ParsingStrings(const ParsingStrings& other);
    ParsingStrings& operator=(const ParsingStrings&) = delete;

    bool contains(unsigned char byte) const { return testBit(singleByteMask, byte); }
    bool contains(char byte) const { return contains(static_cast<unsigned char>(byte)); }
    bool contains(char32_t scalar) const;
    bool contains(std::string_view bytes) const;
    bool contains(const char* bytes) const { return contains(std::string_view(bytes)); }
    bool containsTrie(std::string_view bytes) const;

    // The offset of the first byte in [from, to) of `data` that is a one-byte member, or `to`.
    // Only meaningful for sets whose members are all single ASCII bytes (see isAsciiByteSet):
    // then no multi-byte UTF-8 character can match, so the scan never needs to decode.
    std::size_t scanToMember(const char* data, std::size_t from, std::size_t to) const;
    bool isAsciiByteSet() const { return asciiByteSet; }

    std::size_t hashValue() const { return precomputedHash; }
    bool operator==(const ParsingStrings& other) const { return multiByteChars == other.multiByteChars; }

    static bool testBit(const Mask& mask, unsigned char byte) {
        return (mask[byte >> 6] >> (byte & 63)) & 1u;
    }

    const std::vector<std::string>& members() const { return multiByteChars; }

private:
    void build();

    std::vector<std::string> multiByteChars;
    std::vector<std::size_t> multiByteCharLengths;
    std::vector<Mask> multiByteByteLookups;
    std::unordered_set<std::string_view> multiByteSet;
    std::size_t multiByteByteLookupsCount = 0;
    Mask singleByteMask{};
    std::size_t precomputedHash = 0;
    std::unique_ptr<TrieNode> root;

    // Scan support: set when every member is one byte below 0x80.
    bool asciiByteSet = false;
    // Up to eight members, each repeated across 16 bytes for the SIMD scan (unused rows repeat the
    // first member, which keeps the OR of compares exact); 0 when there are more.
    static constexpr int kMaxStopBytes = 8;
    int stopByteCount = 0;
    alignas(16) std::array<std::array<unsigned char, 16>, kMaxStopBytes> stopBytes{};
};

struct ParsingStringsHash {
    std::size_t operator()(const ParsingStrings& s) const { return s.hashValue(); }
};

} // namespace html
