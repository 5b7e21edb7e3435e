#pragma once

#include "html/nodes/Ref.h"
#include "html/parser/TagId.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace html {

class ParseSettings;
class Tag;
using TagRef = Ref<Tag>;

// The shared descriptor of an element name with its layout and form properties. Known names are
// registered once per process and shared (never counted or freed); any other name gets a fresh,
// counted Tag owned by the elements that use it.
class Tag {
public:
    // The registered tag for the name, else a new inline tag that may contain blocks.
    static TagRef valueOf(std::string_view name, const ParseSettings& settings);
    // Takes the name as written (only trimmed).
    static TagRef valueOf(std::string_view name);
    static bool isKnownTag(std::string_view name);
    // The registered tag for exactly this name, or null.
    static const Tag* lookup(std::string_view name) noexcept;
    // The registered tag of an element-table id, or null (Other and names the registry leaves out).
    static const Tag* lookup(TagId id) noexcept;

    const std::string& getName() const noexcept { return tagName_; }
    const std::string& getNameNormal() const noexcept { return tagNameNormal_; }
    const std::string& toString() const noexcept { return tagName_; }

    bool isBlock() const noexcept { return isBlock_; }
    bool isInline() const noexcept { return !isBlock_; }
    bool formatAsBlock() const noexcept { return formatAsBlock_; }
    bool canContainBlock() const noexcept { return canContainBlock_; }
    bool isEmpty() const noexcept { return empty_; }
    bool isSelfClosing() const noexcept { return empty_ || selfClosing_; }
    bool isData() const noexcept { return !canContainInline_ && !empty_; }
    bool preserveWhitespace() const noexcept { return preserveWhitespace_; }
    bool isFormListed() const noexcept { return formList_; }
    bool isFormSubmittable() const noexcept { return formSubmit_; }
    bool isKnownTag() const noexcept { return registered_; }

    bool operator==(const Tag& o) const noexcept;
    std::size_t hash() const noexcept;

    Tag(const Tag&) = delete;
    Tag& operator=(const Tag&) = delete;

private:
    friend class TagRegistry;
    explicit Tag(std::string name);

    friend void refRetain(Tag* t) noexcept {
        if (!t->registered_) ++t->refs_;
    }
    friend void refRelease(Tag* t) noexcept {
        if (!t->registered_ && --t->refs_ == 0) delete t;
    }

    std::string tagName_;
    std::string tagNameNormal_;
    std::uint32_t refs_ = 0;
    bool registered_ = false;
    bool isBlock_ = true;
    bool formatAsBlock_ = true;
    bool canContainBlock_ = true;
    bool canContainInline_ = true;
    bool empty_ = false;
    bool selfClosing_ = false;
    bool preserveWhitespace_ = false;
    bool formList_ = false;
    bool formSubmit_ = false;
};

} // namespace html
