#pragma once

#include "corvane/BooleanStringReturnStyle.h"
#include "corvane/TextCleaningOperations.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Small formatting helpers over UTF-8 text and truth values. None of them fails: odd input
// yields a neutral result instead.
namespace corvane {

// Applies the listed cleaning steps to a copy of text, always in this order, whatever the order
// or repetition of the list: RemoveNewLines (line feed -> space), CleanForHTML (line feed ->
// "<br>"), CSVSafe (double every double quote), RemoveNonAlphaNumericPeriods (drop every
// user-perceived character that is not an ASCII letter, decimal digit, white space or period,
// then turn each pair of spaces into one in a single pass).
std::string cleanStringWithOptions(std::string_view text, std::span<const TextCleaningOperations> options);

inline std::string cleanStringWithOptions(std::string_view text,
                                          std::initializer_list<TextCleaningOperations> options) {
    return cleanStringWithOptions(text, std::span(options.begin(), options.size()));
}

// Doubles double quotes, removes carriage returns, then turns each pair of spaces into one
// (single pass, so three spaces become two).
std::string csvEscapeString(std::string_view text);

// Reads text as a number (the whole text, locale-independent, 0 when it is not one) and formats
// it in the default locale with exactly `precision` fraction digits.
std::string preciseNumber(std::string_view text, int precision);

// "YES"/"NO" by default; see BooleanStringReturnStyle for the variants.
std::string convertToStringWithFormatOptions(bool value, std::span<const BooleanStringReturnStyle> styles);

inline std::string convertToStringWithFormatOptions(bool value,
                                                    std::initializer_list<BooleanStringReturnStyle> styles) {
    return convertToStringWithFormatOptions(value, std::span(styles.begin(), styles.size()));
}

} // namespace corvane
