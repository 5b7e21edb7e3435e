#include "html/nodes/Elements.h"

#include "html/nodes/FormElement.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/Validate.h"

#include <unordered_set>

namespace html {

std::string Elements::attr(std::string_view key) const {
    for (const Ref<Element>& e : list_)
        if (e->hasAttr(key)) return e->attr(key);
    return {};
}

bool Elements::hasAttr(std::string_view key) const {
    for (const Ref<Element>& e : list_)
        if (e->hasAttr(key)) return true;
    return false;
}

Elements& Elements::attr(std::string_view key, std::string_view value) {
    for (const Ref<Element>& e : list_)
        e->attr(key, value);
    return *this;
}

Elements& Elements::removeAttr(std::string_view key) {
    for (const Ref<Element>& e : list_)
        e->removeAttr(key);
    return *this;
}

bool Elements::hasClass(std::string_view name) const {
    for (const Ref<Element>& e : list_)
        if (e->hasClass(name)) return true;
    return false;
}

Elements& Elements::addClass(std::string_view name) {
    for (const Ref<Element>& e : list_)
        e->addClass(name);
    return *this;
}

Elements& Elements::removeClass(std::string_view name) {
    for (const Ref<Element>& e : list_)
        e->removeClass(name);
    return *this;
}

Elements& Elements::toggleClass(std::string_view name) {
    for (const Ref<Element>& e : list_)
        e->toggleClass(name);
    return *this;
}

std::string Elements::val() const {
    return list_.empty() ? std::string() : list_.front()->val();
}

Elements& Elements::val(std::string_view value) {
    for (const Ref<Element>& e : list_)
        e->val(value);
    return *this;
}

Elements& Elements::tagName(std::string_view name) {
    Validate::notEmpty(name, "Tag name must not be empty.");
    for (const Ref<Element>& e : list_)
        e->tagName(name);
    return *this;
}

Elements& Elements::unwrap() {
    for (const Ref<Element>& e : list_)
        e->unwrap();
    return *this;
}

Elements& Elements::empty() {
    for (const Ref<Element>& e : list_)
        e->empty();
    return *this;
}

Elements& Elements::remove() {
    for (const Ref<Element>& e : list_)
        e->remove();
    return *this;
}

Elements Elements::eq(std::size_t index) const {
    Elements out;
    if (index < list_.size()) out.add(list_[index]);
    return out;
}

Elements Elements::parents() const {
    Elements out;
    std::unordered_set<const Element*> seen;
    for (const Ref<Element>& e : list_)
        for (const Ref<Element>& p : e->parents())
            if (seen.insert(p.get()).second) out.add(p);
    return out;
}

Elements& Elements::traverse(NodeVisitor& visitor) {
    for (const Ref<Element>& e : list_)
        NodeTraversor(visitor).traverse(e);
    return *this;
}

std::vector<Ref<FormElement>> Elements::forms() const {
    std::vector<Ref<FormElement>> out;
    for (const Ref<Element>& e : list_)
        if (e->kind() == NodeKind::FormElement) out.emplace_back(static_cast<FormElement*>(e.get()));
    return out;
}

} // namespace html

namespace html {

std::string Elements::text(bool trimAndNormaliseWhitespace) const {
    std::string out;
    for (const Ref<Element>& e : list_) {
        if (!out.empty()) out.push_back(' ');
        out.append(e->text(trimAndNormaliseWhitespace));
    }
    return out;
}

bool Elements::hasText() const {
    for (const Ref<Element>& e : list_)
        if (e->hasText()) return true;
    return false;
}

std::vector<std::string> Elements::eachText() const {
    std::vector<std::string> out;
    for (const Ref<Element>& e : list_)
        if (e->hasText()) out.push_back(e->text());
    return out;
}

std::string Elements::html() const {
    std::string out;
    for (const Ref<Element>& e : list_) {
        if (!out.empty()) out.push_back('\n');
        out.append(e->html());
    }
    return out;
}

std::string Elements::outerHtml() const {
    std::string out;
    for (const Ref<Element>& e : list_) {
        if (!out.empty()) out.push_back('\n');
        out.append(e->outerHtml());
    }
    return out;
}

} // namespace html
