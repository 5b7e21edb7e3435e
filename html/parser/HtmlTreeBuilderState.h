#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// The insertion modes, in the standard's order.
enum class HtmlTreeBuilderState : std::uint8_t {
#define HTML_INSERTION_MODE(name, function, title) name,
#include "html/parser/InsertionModes.def"
#undef HTML_INSERTION_MODE
};

// The mode's name as it appears in parse error messages.
std::string_view toString(HtmlTreeBuilderState state) noexcept;

} // namespace html
