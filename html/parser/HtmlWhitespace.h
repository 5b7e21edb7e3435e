#pragma once

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

// ASCII case-insensitive equality ("A".."Z" fold, every other byte compares as is).
constexpr bool asciiEqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace html
