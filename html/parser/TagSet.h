#pragma once

#include "html/parser/TagId.h"

#include <cstdint>
#include <initializer_list>

namespace html {

// A constant set of tag ids: a 128-bit mask, built at compile time, tested in one instruction.
class TagSet {
public:
    constexpr TagSet() = default;
    constexpr TagSet(std::initializer_list<TagId> ids) {
        for (TagId id : ids)
            add(id);
    }

    constexpr bool contains(TagId id) const noexcept {
        const auto n = static_cast<unsigned>(id);
        return id != TagId::Other && ((n < 64 ? lo_ >> n : hi_ >> (n - 64)) & 1u) != 0;
    }

    constexpr TagSet operator|(const TagSet& other) const noexcept {
        TagSet s;
        s.lo_ = lo_ | other.lo_;
        s.hi_ = hi_ | other.hi_;
        return s;
    }

private:
    constexpr void add(TagId id) {
        const auto n = static_cast<unsigned>(id);
        if (n < 64)
            lo_ |= std::uint64_t{1} << n;
        else
            hi_ |= std::uint64_t{1} << (n - 64);
    }

    std::uint64_t lo_ = 0;
    std::uint64_t hi_ = 0;
};

static_assert(static_cast<unsigned>(TagId::Count_) <= 128, "TagSet holds at most 128 ids");

} // namespace html
