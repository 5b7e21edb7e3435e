#pragma once

#include "html/nodes/StringBuilder.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace html {

// Byte-level text helpers shared by the tree, the output and the parser. Case folding is ASCII only.
class StringUtil {
public:
    static constexpr char toLowerAscii(char c) noexcept {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    static std::string lowerCaseAscii(std::string_view s);
    static void lowerCaseAsciiInPlace(std::string& s) noexcept;
    static constexpr bool isAsciiDigit(char c) noexcept { return c >= '0' && c <= '9'; }
    // Whether `text` holds any of `parts` as bytes.
    static constexpr bool containsAny(std::string_view text,
                                      std::initializer_list<std::string_view> parts) noexcept {
        for (std::string_view part : parts)
            if (text.find(part) != std::string_view::npos) return true;
        return false;
    }
    static constexpr char toUpperAscii(char c) noexcept {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
    }
    // ASCII case-insensitive comparisons ("A".."Z" fold, every other byte compares as is); inline,
    // since the tokeniser and the tree builder compare names with them.
    static constexpr bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (toLowerAscii(a[i]) != toLowerAscii(b[i])) return false;
        return true;
    }
    static constexpr bool startsWithIgnoreCase(std::string_view s, std::string_view prefix) noexcept {
        return s.size() >= prefix.size() && equalsIgnoreCase(s.substr(0, prefix.size()), prefix);
    }
    static constexpr bool endsWithIgnoreCase(std::string_view s, std::string_view suffix) noexcept {
        return s.size() >= suffix.size() && equalsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
    }

    // The whitespace of text normalisation: space, tab, line feed, form feed, carriage return.
    static constexpr bool isWhitespace(char c) noexcept {
        return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
    }
    static constexpr bool isWhitespace(char32_t c) noexcept {
        return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
    }
    // The separators of class names and similar lists: 0x09..0x0D and space.
    static constexpr bool isActuallyWhitespace(char c) noexcept {
        return c == ' ' || (c >= '\t' && c <= '\r');
    }
    static bool isBlank(std::string_view s) noexcept;
    // Trims the whitespace bytes above from both ends.
    static std::string_view trim(std::string_view s) noexcept;

    // Collapses every whitespace run to one space (no trim).
    static std::string normaliseWhitespace(std::string_view s);
    static void appendNormalisedWhitespace(StringBuilder& accum, std::string_view bytes, bool stripLeading);
    // The final trim of extracted text: leading and trailing Unicode whitespace (no-break and
    // other Unicode spaces included); returns the input when both ends are not whitespace.
    static std::string trimUnicodeWhitespace(std::string s);
    // Replaces invalid UTF-8 sequences with U+FFFD; returns the input untouched when valid.
    static std::string repairUtf8(std::string s);

    // Joins a base URI and a possibly relative reference; empty when it cannot be resolved.
    static std::string resolve(std::string_view base, std::string_view relative);

    static std::string padding(std::size_t width);
};

} // namespace html
