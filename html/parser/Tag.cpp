#include "html/parser/Tag.h"

#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/parser/ParseSettings.h"

#include <array>
#include <memory>
#include <vector>

namespace html {

// The process-wide table of known names: open addressing over a power-of-two table, built once.
class TagRegistry {
public:
    static const TagRegistry& instance() {
        static const TagRegistry registry;
        return registry;
    }

    const Tag* find(std::string_view name) const noexcept {
        std::size_t i = hashOf(name) & kMask;
        while (const Tag* t = slots_[i]) {
            if (t->tagName_ == name) return t;
            i = (i + 1) & kMask;
        }
        return nullptr;
    }

private:
    static constexpr std::size_t kSize = 512;
    static constexpr std::size_t kMask = kSize - 1;

    static std::size_t hashOf(std::string_view s) noexcept {
        std::uint32_t h = 2166136261u;
        for (char c : s)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h ^ (h >> 15);
    }

    TagRegistry() {
        slots_.fill(nullptr);
        static constexpr std::string_view blockTags[] = {
            "html",     "head",       "body",      "frameset", "script",  "noscript",   "style", "meta",
            "link",     "title",      "frame",     "noframes", "section", "nav",        "aside", "hgroup",
            "header",   "footer",     "p",         "h1",       "h2",      "h3",         "h4",    "h5",
            "h6",       "ul",         "ol",        "pre",      "div",     "blockquote", "hr",    "address",
            "figure",   "figcaption", "form",      "fieldset", "ins",     "del",        "s",     "dl",
            "dt",       "dd",         "li",        "table",    "caption", "thead",      "tfoot", "tbody",
            "colgroup", "col",        "tr",        "th",       "td",      "video",      "audio", "canvas",
            "details",  "menu",       "plaintext", "template", "article", "main",       "svg",   "math"};
        static constexpr std::string_view inlineTags[] = {
            "object",   "base",     "font",     "tt",      "i",        "b",       "u",        "big",
            "small",    "em",       "strong",   "dfn",     "code",     "samp",    "kbd",      "var",
            "cite",     "abbr",     "time",     "acronym", "mark",     "ruby",    "rt",       "rp",
            "a",        "img",      "br",       "wbr",     "map",      "q",       "sub",      "sup",
            "bdo",      "iframe",   "embed",    "span",    "input",    "select",  "textarea", "label",
            "button",   "optgroup", "option",   "legend",  "datalist", "keygen",  "output",   "progress",
            "meter",    "area",     "param",    "source",  "track",    "summary", "command",  "device",
            "basefont", "bgsound",  "menuitem", "data",    "bdi"};
        static constexpr std::string_view emptyTags[] = {
            "meta",  "link",     "base",    "frame",    "img",   "br",      "wbr",
            "embed", "hr",       "input",   "keygen",   "col",   "command", "device",
            "area",  "basefont", "bgsound", "menuitem", "param", "source",  "track"};
        static constexpr std::string_view formatAsInlineTags[] = {
            "title",   "a",  "p",  "h1", "h2",     "h3",    "h4",  "h5",  "h6", "pre",
            "address", "li", "th", "td", "script", "style", "ins", "del", "s"};
        static constexpr std::string_view preserveWhitespaceTags[] = {"pre", "plaintext", "title",
                                                                      "textarea"};
        static constexpr std::string_view formListedTags[] = {"button", "fieldset", "input",  "keygen",
                                                              "object", "output",   "select", "textarea"};
        static constexpr std::string_view formSubmitTags[] = {"input", "keygen", "object", "select",
                                                              "textarea"};

        for (auto name : blockTags)
            put(newTag(name));
        for (auto name : inlineTags) {
            auto tag = newTag(name);
            tag->isBlock_ = false;
            tag->formatAsBlock_ = false;
            tag->canContainBlock_ = false;
            put(std::move(tag));
        }
        for (auto name : emptyTags) {
            Tag* tag = modify(name);
            tag->canContainBlock_ = false;
            tag->canContainInline_ = false;
            tag->empty_ = true;
        }
        for (auto name : formatAsInlineTags)
            modify(name)->formatAsBlock_ = false;
        for (auto name : preserveWhitespaceTags)
            modify(name)->preserveWhitespace_ = true;
        for (auto name : formListedTags)
            modify(name)->formList_ = true;
        for (auto name : formSubmitTags)
            modify(name)->formSubmit_ = true;
    }

    static std::unique_ptr<Tag> newTag(std::string_view name) {
        return std::unique_ptr<Tag>(new Tag(std::string(name)));
    }

    void put(std::unique_ptr<Tag> tag) {
        tag->registered_ = true;
        std::size_t i = hashOf(tag->tagName_) & kMask;
        while (Tag* t = slots_[i]) {
            if (t->tagName_ == tag->tagName_) {
                // A repeated name replaces the earlier entry.
                slots_[i] = tag.get();
                owned_.push_back(std::move(tag));
                return;
            }
            i = (i + 1) & kMask;
        }
        slots_[i] = tag.get();
        owned_.push_back(std::move(tag));
    }

    Tag* modify(std::string_view name) {
        Tag* tag = const_cast<Tag*>(find(name));
        Validate::notNull(tag);
        return tag;
    }

    std::array<Tag*, kSize> slots_;
    std::vector<std::unique_ptr<Tag>> owned_;
};

Tag::Tag(std::string name)
    : tagName_(std::move(name)), tagNameNormal_(StringUtil::lowerCaseAscii(tagName_)) {}

const Tag* Tag::lookup(std::string_view name) noexcept {
    return TagRegistry::instance().find(name);
}

TagRef Tag::valueOf(std::string_view name, const ParseSettings& settings) {
    const TagRegistry& registry = TagRegistry::instance();
    if (const Tag* t = registry.find(name)) return TagRef(const_cast<Tag*>(t));
    std::string normal = settings.normalizeTag(name);
    Validate::notEmpty(normal);
    if (const Tag* t = registry.find(normal)) return TagRef(const_cast<Tag*>(t));
    TagRef tag(new Tag(std::move(normal)));
    tag->isBlock_ = false;
    tag->canContainBlock_ = true;
    return tag;
}

TagRef Tag::valueOf(std::string_view name) {
    return valueOf(name, ParseSettings::preserveCase());
}

bool Tag::isKnownTag(std::string_view name) {
    return TagRegistry::instance().find(name) != nullptr;
}

bool Tag::operator==(const Tag& o) const noexcept {
    return tagName_ == o.tagName_ && isBlock_ == o.isBlock_ && formatAsBlock_ == o.formatAsBlock_ &&
           canContainBlock_ == o.canContainBlock_ && canContainInline_ == o.canContainInline_ &&
           empty_ == o.empty_ && selfClosing_ == o.selfClosing_ &&
           preserveWhitespace_ == o.preserveWhitespace_ && formList_ == o.formList_ &&
           formSubmit_ == o.formSubmit_;
}

std::size_t Tag::hash() const noexcept {
    std::size_t h = std::hash<std::string>()(tagName_);
    const bool flags[] = {isBlock_,     formatAsBlock_,      canContainBlock_, canContainInline_, empty_,
                          selfClosing_, preserveWhitespace_, formList_,        formSubmit_};
    for (bool f : flags)
        h = h * 31 + (f ? 1 : 0);
    return h;
}

} // namespace html
