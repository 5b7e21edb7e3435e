#pragma once

#include "html/parser/TagId.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace html {

// A constant set of tag ids: a bit mask built at compile time, tested with one shift.
class TagSet {
public:
    constexpr TagSet() = default;
    constexpr TagSet(std::initializer_list<TagId> ids) {
        for (TagId id : ids)
            add(id);
    }

    constexpr bool contains(TagId id) const noexcept {
        const auto n = static_cast<unsigned>(id);
        return id != TagId::Other && ((words_[n >> 6] >> (n & 63)) & 1u) != 0;
    }

    constexpr TagSet operator|(const TagSet& other) const noexcept {
        TagSet s;
        for (std::size_t i = 0; i < kWords; ++i)
            s.words_[i] = words_[i] | other.words_[i];
        return s;
    }

    constexpr void add(TagId id) {
        const auto n = static_cast<unsigned>(id);
        words_[n >> 6] |= std::uint64_t{1} << (n & 63);
    }

private:
    static constexpr std::size_t kWords = (static_cast<std::size_t>(TagId::Count_) + 63) / 64;
    std::array<std::uint64_t, kWords> words_{};
};

} // namespace html
