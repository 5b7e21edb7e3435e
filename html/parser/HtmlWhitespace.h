#pragma once

#include "html/nodes/StringUtil.h"

#include <cstddef>
#include <string_view>

namespace html {

// The HTML space characters: TAB, LF, FF, CR and SPACE.
constexpr bool isHtmlWhitespace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// The length of the run of HTML whitespace that starts data.
constexpr std::size_t leadingWhitespace(std::string_view data) noexcept {
    std::size_t n = 0;
    while (n < data.size() && isHtmlWhitespace(data[n]))
        ++n;
    return n;
}

constexpr bool isAllWhitespace(std::string_view data) noexcept {
    return leadingWhitespace(data) == data.size();
}

} // namespace html
