#include "html/parser/TagId.h"

#include <array>
#include <cstddef>

namespace html {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(TagId::Count_)> kNames = {
    "",         "a",        "address", "applet",  "area",       "article",   "aside",    "b",
    "base",     "basefont", "bgsound", "big",     "blockquote", "body",      "br",       "button",
    "caption",  "center",   "code",    "col",     "colgroup",   "command",   "dd",       "details",
    "dir",      "div",      "dl",      "dt",      "em",         "embed",     "fieldset", "figcaption",
    "figure",   "font",     "footer",  "form",    "frame",      "frameset",  "h1",       "h2",
    "h3",       "h4",       "h5",      "h6",      "head",       "header",    "hgroup",   "hr",
    "html",     "i",        "iframe",  "image",   "img",        "input",     "isindex",  "keygen",
    "label",    "li",       "link",    "listing", "main",       "marquee",   "math",     "menu",
    "menuitem", "meta",     "nav",     "nobr",    "noembed",    "noframes",  "noscript", "object",
    "ol",       "optgroup", "option",  "p",       "param",      "plaintext", "pre",      "rp",
    "rt",       "ruby",     "s",       "script",  "section",    "select",    "small",    "source",
    "strike",   "strong",   "style",   "summary", "svg",        "table",     "tbody",    "td",
    "template", "textarea", "tfoot",   "th",      "thead",      "title",     "tr",       "track",
    "tt",       "u",        "ul",      "wbr",     "xmp",
};

constexpr std::size_t kSlots = 512; // power of two, well over 4x the names: short probe chains

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
    if (name.empty() || name.size() > 10) return TagId::Other;
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
