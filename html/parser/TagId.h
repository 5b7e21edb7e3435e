#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// Every element name of the element table gets a small number, so that the tag-name sets are
// bit tests and the stack walks compare integers instead of strings. Any other name is
// TagId::Other and is compared by its bytes where it matters.
enum class TagId : std::uint8_t {
    Other = 0,
#define HTML_ELEMENT(id, name, kind, flags) id,
#include "html/parser/ElementTable.def"
#undef HTML_ELEMENT
    Count_
};

// The id of a normalised (lower-case) element name; TagId::Other for any other name.
TagId tagIdOf(std::string_view normalName) noexcept;

// The name of a known id ("" for Other).
std::string_view tagIdName(TagId id) noexcept;

} // namespace html
