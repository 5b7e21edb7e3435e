#include "html/parser/TagId.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace html {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(TagId::Count_)> kNames = {
    "",
#define HTML_ELEMENT(id, name, kind, flags) name,
#include "html/parser/ElementTable.def"
#undef HTML_ELEMENT
};

constexpr std::size_t kLongestName = [] {
    std::size_t n = 0;
    for (std::string_view name : kNames)
        n = std::max(n, name.size());
    return n;
}();

constexpr std::size_t kSlots = 512; // power of two, well over 3x the names: short probe chains

constexpr std::uint32_t hashName(std::string_view s) noexcept {
    std::uint32_t h = 2166136261u;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

struct Table {
    std::array<std::uint8_t, kSlots> slots{}; // 0 = empty, else a TagId

    constexpr Table() {
        for (std::size_t i = 1; i < kNames.size(); ++i) {
            std::size_t at = hashName(kNames[i]) & (kSlots - 1);
            while (slots[at] != 0)
                at = (at + 1) & (kSlots - 1);
            slots[at] = static_cast<std::uint8_t>(i);
        }
    }
};

constexpr Table kTable{};

} // namespace

TagId tagIdOf(std::string_view name) noexcept {
    if (name.empty() || name.size() > kLongestName) return TagId::Other;
    std::size_t at = hashName(name) & (kSlots - 1);
    while (const std::uint8_t id = kTable.slots[at]) {
        if (kNames[id] == name) return static_cast<TagId>(id);
        at = (at + 1) & (kSlots - 1);
    }
    return TagId::Other;
}

std::string_view tagIdName(TagId id) noexcept {
    return kNames[static_cast<std::size_t>(id)];
}

} // namespace html
