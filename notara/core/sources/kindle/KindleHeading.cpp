#include "notara/core/sources/kindle/KindleHeading.h"

#include "html/nodes/StringUtil.h"

#include <array>
#include <limits>

namespace notara {

namespace {

using html::StringUtil;

// The words the apps write, by language: English, German, French, Spanish, Italian, Portuguese,
// Dutch, Japanese, Chinese, Russian. ASCII letters are matched in lower case; Cyrillic has
// both cases listed.
constexpr std::array<std::string_view, 8> pageWords = {"page",   "seite", "página",   "pagina",
                                                       "ページ", "页",    "страница", "Страница"};
constexpr std::array<std::string_view, 14> locationWords = {
    "location", "loc.",    "position", "emplacement", "posición", "posicion", "posizione",
    "posição",  "locatie", "位置",     "позиция",     "Позиция",  "место",    "Место"};

template <size_t N>
size_t findWord(const std::string& lower, const std::array<std::string_view, N>& words, size_t& length) {
    for (std::string_view word : words) {
        if (const size_t at = lower.find(word); at != std::string::npos) {
            length = word.size();
            return at;
        }
    }
    return std::string::npos;
}

// The last number of `text`; "1,234" and "1.234" read as 1234.
std::optional<std::int64_t> lastNumber(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && !html::StringUtil::isAsciiDigit(text[end - 1]))
        --end;
    if (end == 0) return std::nullopt;
    size_t begin = end;
    while (begin > 0 && (html::StringUtil::isAsciiDigit(text[begin - 1]) ||
                         ((text[begin - 1] == ',' || text[begin - 1] == '.') && begin >= 2 &&
                          html::StringUtil::isAsciiDigit(text[begin - 2]))))
        --begin;
    std::int64_t value = 0;
    for (char c : text.substr(begin, end - begin)) {
        if (!html::StringUtil::isAsciiDigit(c)) continue;
        if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The page label: the segment without its page word, and without the 第 that Chinese puts
// before the number.
std::string pageLabel(std::string_view segment, size_t at, size_t length) {
    std::string label = std::string(segment.substr(0, at)) + std::string(segment.substr(at + length));
    std::string_view view = StringUtil::trim(label);
    if (view.starts_with("第")) view = StringUtil::trim(view.substr(std::string_view("第").size()));
    return std::string(view);
}

} // namespace

std::string KindleHeading::collapseAsciiSpace(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (char c : text) {
        if (StringUtil::isWhitespace(c)) {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace) result += ' ';
        pendingSpace = false;
        result += c;
    }
    return result;
}

KindleHeading KindleHeading::parse(std::string_view text) {
    KindleHeading heading;
    std::string_view place = text;
    if (const size_t dash = text.find(" - "); dash != std::string_view::npos) {
        place = text.substr(dash + 3);
        if (const size_t path = place.rfind(" > "); path != std::string_view::npos) {
            heading.chapter = std::string(StringUtil::trim(place.substr(0, path)));
            place = place.substr(path + 3);
        }
    }
    constexpr std::string_view dot = "\xC2\xB7"; // ·
    while (!place.empty()) {
        const size_t split = place.find(dot);
        const std::string_view segment = StringUtil::trim(place.substr(0, split));
        place = split == std::string_view::npos ? std::string_view() : place.substr(split + dot.size());
        const std::string lower = StringUtil::lowerCaseAscii(segment);
        size_t length = 0;
        if (findWord(lower, locationWords, length) != std::string::npos) {
            heading.location = lastNumber(segment);
        } else if (const size_t at = findWord(lower, pageWords, length); at != std::string::npos) {
            heading.page = pageLabel(segment, at, length);
        }
    }
    return heading;
}

} // namespace notara
