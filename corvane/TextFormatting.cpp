#include "corvane/TextFormatting.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace corvane {

namespace {

template <typename Option> bool contains(std::span<const Option> options, Option option) {
    return std::find(options.begin(), options.end(), option) != options.end();
}

// Literal, left-to-right replacement of every occurrence of one byte.
std::string replaceAll(std::string_view text, char from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == from)
            out.append(to);
        else
            out.push_back(c);
    }
    return out;
}

// Each pair of spaces becomes one, scanning once without looking back: three spaces become two.
std::string halveDoubleSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') ++i;
    }
    return out;
}

// A character to drop: anything but an ASCII letter, a decimal digit of any script, white space
// (ICU's \s is the Unicode White_Space property) or a period.
const icu::RegexPattern* strayCharacterPattern() {
    static const std::unique_ptr<icu::RegexPattern> pattern = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexPattern> compiled(
            icu::RegexPattern::compile(icu::UnicodeString(u"([^A-Za-z\\d\\s\\.])"), 0, status));
        if (U_FAILURE(status)) compiled.reset();
        return compiled;
    }();
    return pattern.get();
}

// Drops whole user-perceived characters, so a letter with a combining accent goes together with
// its accent instead of leaving a stray mark behind. Returns false (text untouched) when ICU
// cannot do the work.
bool removeStrayCharacters(std::string& text) {
    const icu::RegexPattern* pattern = strayCharacterPattern();
    if (pattern == nullptr || text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        return false;

    const icu::UnicodeString input =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> clusters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    if (U_FAILURE(status) || !clusters || !matcher) return false;
    clusters->setText(input);

    icu::UnicodeString kept;
    for (int32_t start = clusters->first(), end = clusters->next(); end != icu::BreakIterator::DONE;
         start = end, end = clusters->next()) {
        matcher->region(start, end, status);
        if (U_FAILURE(status)) return false;
        if (!matcher->find()) kept.append(input, start, end - start);
    }

    text.clear();
    kept.toUTF8String(text);
    return true;
}

// The whole text must be the number, read the same way in every locale; anything else counts
// as 0. Leading white space is refused here because strtod would skip it.
double parseWholeNumber(std::string_view text) {
    if (text.empty() || std::string_view(" \t\n\v\f\r").find(text.front()) != std::string_view::npos)
        return 0.0;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (cLocale == locale_t(nullptr)) return 0.0;
    const std::string copy(text); // strtod needs the terminator; an embedded NUL then fails the check
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, cLocale);
    return end == copy.c_str() + copy.size() ? value : 0.0;
}

} // namespace

std::string cleanStringWithOptions(std::string_view text, std::span<const TextCleaningOperations> options) {
    using enum TextCleaningOperations;
    std::string result(text);
    if (contains(options, RemoveNewLines)) result = replaceAll(result, '\n', " ");
    if (contains(options, CleanForHTML)) result = replaceAll(result, '\n', "<br>");
    if (contains(options, CSVSafe)) result = replaceAll(result, '"', "\"\"");
    if (contains(options, RemoveNonAlphaNumericPeriods) && removeStrayCharacters(result))
        result = halveDoubleSpaces(result);
    return result;
}

std::string csvEscapeString(std::string_view text) {
    std::string result = replaceAll(text, '"', "\"\"");
    std::erase(result, '\r');
    return halveDoubleSpaces(result);
}

std::string preciseNumber(std::string_view text, int precision) {
    // A negative count means none. 340 digits hold the shortest form of every double, so only
    // zeros would follow; and ICU turns counts above 32767 into a bare "0".
    constexpr int maxFractionDigits = 340;
    const int32_t digits = std::clamp(precision, 0, maxFractionDigits);

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(status));
    if (U_FAILURE(status) || !format) return "0.0";
    // A plain number, as a default-style formatter writes it: no thousands grouping.
    format->setGroupingUsed(false);
    format->setMaximumFractionDigits(digits);
    format->setMinimumFractionDigits(digits);

    icu::UnicodeString formatted;
    format->format(parseWholeNumber(text), formatted);
    std::string result;
    formatted.toUTF8String(result);
    return result.empty() ? "0.0" : result;
}

std::string convertToStringWithFormatOptions(bool value, std::span<const BooleanStringReturnStyle> styles) {
    using enum BooleanStringReturnStyle;
    // The base words are already capitalised, which is all Titlecase asks for.
    std::string word = contains(styles, Compact) ? (value ? "Y" : "N") : (value ? "Yes" : "No");
    if (contains(styles, Titlecase) && !contains(styles, Uppercase) && !contains(styles, Lowercase))
        return word;
    const bool lower = contains(styles, Lowercase) && !contains(styles, Uppercase);
    for (char& c : word) {
        if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (!lower && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return word;
}

} // namespace corvane
