#include "html/parser/Tag.h"

#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/parser/ElementFlags.h"
#include "html/parser/ParseSettings.h"

#include <array>
#include <memory>

namespace html {

// The registered tags, one per Block or Inline row of the element table, made once per process
// and found through the table's TagId.
class TagRegistry {
public:
    static const TagRegistry& instance() {
        static const TagRegistry registry;
        return registry;
    }

    const Tag* find(TagId id) const noexcept { return tags_[static_cast<std::size_t>(id)].get(); }
    const Tag* find(std::string_view name) const noexcept { return find(tagIdOf(name)); }

private:
    TagRegistry() {
        using namespace element_table;
#define HTML_ELEMENT(id, name, kind, flags) add(TagId::id, name, kind, flags);
#include "html/parser/ElementTable.def"
#undef HTML_ELEMENT
    }

    void add(TagId id, std::string_view name, element_table::Kind kind, unsigned flags) {
        using namespace element_table;
        if (kind == Unregistered) return;
        auto tag = std::unique_ptr<Tag>(new Tag(std::string(name)));
        tag->registered_ = true;
        if (kind == Inline) {
            tag->isBlock_ = false;
            tag->formatAsBlock_ = false;
            tag->canContainBlock_ = false;
        }
        if (flags & Void) {
            tag->canContainBlock_ = false;
            tag->canContainInline_ = false;
            tag->empty_ = true;
        }
        if (flags & InlineFormat) tag->formatAsBlock_ = false;
        tag->preserveWhitespace_ = (flags & KeepSpace) != 0;
        tag->formList_ = (flags & Listed) != 0;
        tag->formSubmit_ = (flags & Submittable) != 0;
        tags_[static_cast<std::size_t>(id)] = std::move(tag);
    }

    std::array<std::unique_ptr<Tag>, static_cast<std::size_t>(TagId::Count_)> tags_;
};

Tag::Tag(std::string name)
    : tagName_(std::move(name)), tagNameNormal_(StringUtil::lowerCaseAscii(tagName_)) {}

const Tag* Tag::lookup(std::string_view name) noexcept {
    return TagRegistry::instance().find(name);
}

const Tag* Tag::lookup(TagId id) noexcept {
    return TagRegistry::instance().find(id);
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
