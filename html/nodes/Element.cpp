#include "html/nodes/Element.h"

#include "html/nodes/ClassNames.h"

#include "html/nodes/DataNode.h"
#include "html/nodes/Elements.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/TextNode.h"
#include "html/nodes/Validate.h"
#include "html/parser/ParseSettings.h"

#include <algorithm>

namespace html {

Element::Element(TagRef tag, std::string_view baseUri) : Element(std::move(tag), shareUri(baseUri)) {}

Element::Element(TagRef tag, Ref<SharedString> baseUri)
    : Element(NodeKind::Element, std::move(tag), std::move(baseUri)) {}

Element::Element(TagRef tag, Ref<SharedString> baseUri, Attributes attributes)
    : Element(NodeKind::Element, std::move(tag), std::move(baseUri), std::move(attributes)) {}

Element::Element(NodeKind kind, TagRef tag, Ref<SharedString> baseUri)
    : Node(kind, std::move(baseUri)), tag_(std::move(tag)) {
    Validate::notNull(tag_.get());
}

Element::Element(NodeKind kind, TagRef tag, Ref<SharedString> baseUri, Attributes attributes)
    : Node(kind, std::move(baseUri), std::move(attributes)), tag_(std::move(tag)) {
    Validate::notNull(tag_.get());
}

Element::~Element() = default;

Element& Element::tagName(std::string_view name) {
    Validate::notEmpty(name, "Tag name must not be empty.");
    tag_ = Tag::valueOf(name, ParseSettings::preserveCase());
    // Ancestors index this element under its old name.
    rebuildQueryIndexesForThisNodeOnly();
    return *this;
}

std::string Element::id() const {
    const Attributes* a = attributesIfPresent();
    return a ? std::string(a->get("id")) : std::string();
}

std::map<std::string, std::string> Element::dataset() const {
    const Attributes* a = attributesIfPresent();
    return a ? a->dataset() : std::map<std::string, std::string>();
}

// ---- navigation

Element* Element::parent() const noexcept {
    Node* p = parentNode();
    return p ? p->asElement() : nullptr;
}

Elements Element::parents() const {
    Elements out;
    for (Element* p = parent(); p && p->tagName() != "#root"; p = p->parent())
        out.add(p);
    return out;
}

Elements Element::children() const {
    Elements out;
    for (Node* n : getChildNodes())
        if (Element* e = n->asElement()) out.add(e);
    return out;
}

std::size_t Element::childrenSize() const noexcept {
    std::size_t count = 0;
    for (Node* n : getChildNodes())
        count += n->isElement();
    return count;
}

Element* Element::child(std::size_t index) const noexcept {
    for (Node* n : getChildNodes()) {
        if (Element* e = n->asElement()) {
            if (index == 0) return e;
            --index;
        }
    }
    return nullptr;
}

Elements Element::siblingElements() const {
    Elements out;
    if (Node* p = parentNode()) {
        for (Node* n : p->getChildNodes())
            if (n != this)
                if (Element* e = n->asElement()) out.add(e);
    }
    return out;
}

Element* Element::nextElementSibling() const noexcept {
    for (Node* n = nextSibling(); n; n = n->nextSibling())
        if (Element* e = n->asElement()) return e;
    return nullptr;
}

Element* Element::previousElementSibling() const noexcept {
    for (Node* n = previousSibling(); n; n = n->previousSibling())
        if (Element* e = n->asElement()) return e;
    return nullptr;
}

Element* Element::firstElementSibling() const noexcept {
    Element* p = parent();
    if (!p || p->childrenSize() < 2) return nullptr;
    return p->child(0);
}

Element* Element::lastElementSibling() const noexcept {
    Element* p = parent();
    if (!p) return nullptr;
    Element* last = nullptr;
    std::size_t count = 0;
    for (Node* n : p->getChildNodes()) {
        if (Element* e = n->asElement()) {
            last = e;
            ++count;
        }
    }
    return count > 1 ? last : nullptr;
}

std::size_t Element::elementSiblingIndex() const noexcept {
    Node* p = parentNode();
    if (!p) return 0;
    std::size_t index = 0;
    for (std::size_t i = 0, end = static_cast<std::size_t>(siblingIndex()); i < end; ++i)
        index += p->childNode(i)->isElement();
    return index;
}

std::vector<Ref<TextNode>> Element::textNodes() const {
    std::vector<Ref<TextNode>> out;
    for (Node* n : getChildNodes())
        if (n->isTextNode()) out.emplace_back(static_cast<TextNode*>(n));
    return out;
}

std::vector<Ref<DataNode>> Element::dataNodes() const {
    std::vector<Ref<DataNode>> out;
    for (Node* n : getChildNodes())
        if (n->isDataNode()) out.emplace_back(static_cast<DataNode*>(n));
    return out;
}

// ---- mutation

Element& Element::appendChild(BorrowedNode childArg) {
    Node* child = childArg;
    addChildren({child});
    return *this;
}

Element& Element::prependChild(BorrowedNode childArg) {
    Node* child = childArg;
    addChildren(0, {child});
    return *this;
}

Element& Element::insertChildren(int index, std::span<Node* const> nodes) {
    const auto size = static_cast<long long>(childNodeSize());
    long long at = index;
    if (at < 0) at += size + 1;
    Validate::isTrue(at >= 0 && at <= size, "Insert position out of bounds.");
    addChildren(static_cast<std::size_t>(at), nodes);
    return *this;
}

Ref<Element> Element::appendElement(std::string_view tagName) {
    Ref<Element> child = make<Element>(Tag::valueOf(tagName), baseUriRef());
    appendChild(child);
    return child;
}

Ref<Element> Element::prependElement(std::string_view tagName) {
    Ref<Element> child = make<Element>(Tag::valueOf(tagName), baseUriRef());
    prependChild(child);
    return child;
}

Element& Element::appendText(std::string_view text) {
    return appendChild(make<TextNode>(text, baseUriRef()));
}

Element& Element::prependText(std::string_view text) {
    return prependChild(make<TextNode>(text, baseUriRef()));
}

Element& Element::empty() {
    if (!hasChildNodes()) return *this;
    // Each child leaves in turn from the end, so no re-indexing is needed.
    while (Node* last = lastChild())
        removeChild(last);
    return *this;
}

Element& Element::setText(std::string_view text) {
    empty();
    return appendText(text);
}

// ---- classes

std::string Element::className() const {
    const Attributes* a = attributesIfPresent();
    return a ? std::string(StringUtil::trim(a->get("class"))) : std::string();
}

std::vector<std::string> Element::classNames() const {
    std::vector<std::string> out;
    const Attributes* a = attributesIfPresent();
    if (!a) return out;
    for (std::string_view name : ClassNames(a->get("class"))) {
        if (std::find(out.begin(), out.end(), name) == out.end()) out.emplace_back(name);
    }
    return out;
}

Element& Element::classNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& n : names) {
        if (!joined.empty()) joined.push_back(' ');
        joined.append(n);
    }
    getAttributes().put("class", joined);
    return *this;
}

bool Element::hasClass(std::string_view name) const {
    const Attributes* a = attributesIfPresent();
    if (!a) return false;
    const std::string_view value = a->get("class");
    const std::size_t len = value.size(), wanted = name.size();
    if (len == 0 || len < wanted) return false;
    if (len == wanted) return StringUtil::equalsIgnoreCase(value, name);
    for (std::string_view present : ClassNames(value)) {
        if (present.size() == wanted && StringUtil::equalsIgnoreCase(present, name)) return true;
    }
    return false;
}

Element& Element::addClass(std::string_view name) {
    Validate::notEmpty(name);
    std::vector<std::string> names = classNames();
    if (std::find(names.begin(), names.end(), name) == names.end()) names.emplace_back(name);
    return classNames(names);
}

Element& Element::removeClass(std::string_view name) {
    Validate::notEmpty(name);
    std::vector<std::string> names = classNames();
    std::erase(names, std::string(name));
    return classNames(names);
}

Element& Element::toggleClass(std::string_view name) {
    Validate::notEmpty(name);
    std::vector<std::string> names = classNames();
    if (std::erase(names, std::string(name)) == 0) names.emplace_back(name);
    return classNames(names);
}

std::string Element::val() const {
    if (tagName() == "textarea") return text();
    return attr("value");
}

Element& Element::val(std::string_view value) {
    if (tagName() == "textarea")
        setText(value);
    else
        attr("value", value);
    return *this;
}

// ---- query index

Elements Element::getElementsByTag(std::string_view tagName) const {
    Validate::notEmpty(tagName);
    const std::string name(StringUtil::trim(StringUtil::lowerCaseAscii(tagName)));
    // The index and the dirty marks are a cache: rebuilding them is no change to the tree.
    if (isQueryIndexDirty() || !queryIndex_) const_cast<Element*>(this)->rebuildQueryIndexesForAllTags();
    Elements out;
    if (auto it = queryIndex_->find(name); it != queryIndex_->end())
        for (Element* e : it->second)
            out.add(e);
    return out;
}

void Element::rebuildQueryIndexesForAllTags() {
    auto index = std::make_unique<QueryIndex>();
    index->reserve(childNodeSize() * 4);
    std::vector<Node*> work;
    work.reserve(childNodeSize() + 1);
    work.push_back(this);
    // Breadth first: the lists come out shallow-first.
    for (std::size_t i = 0; i < work.size(); ++i) {
        Node* n = work[i];
        n->clearQueryIndexDirty();
        if (Element* e = n->asElement()) {
            (*index)[e->tagNameNormal()].push_back(e);
            // Indexes below are now stale and no longer marked; drop them so they are rebuilt.
            if (e != this) e->queryIndex_.reset();
        }
        for (Node* c : n->getChildNodes())
            work.push_back(c);
    }
    queryIndex_ = std::move(index);
}

void Element::rebuildQueryIndexesForThisNodeOnly() {
    queryIndex_.reset();
    markQueryIndexDirty();
}

// ---- copying

void Element::copyElementStateTo(Element& clone) const {
    copyBaseStateTo(clone);
}

Ref<Node> Element::shallowClone() const {
    Ref<Element> clone = make<Element>(tag_, baseUriRef());
    copyElementStateTo(*clone);
    return clone;
}

} // namespace html

namespace html {

// ---- text

namespace {

bool preservesWhitespace(const Node* node) {
    const Element* e = node ? node->asElement() : nullptr;
    return e && e->tag().preserveWhitespace();
}

// Appends a text node's text: verbatim inside a whitespace-preserving parent or grandparent,
// otherwise with whitespace runs collapsed.
void appendNormalisedText(StringBuilder& accum, const TextNode& text) {
    const Node* parent = text.parentNode();
    if (preservesWhitespace(parent) || (parent && preservesWhitespace(parent->parentNode()))) {
        accum.append(text.getWholeText());
        return;
    }
    const bool stripLeading = !accum.isEmpty() && accum.back() == ' ';
    StringUtil::appendNormalisedWhitespace(accum, text.getWholeText(), stripLeading);
}

std::string finishText(StringBuilder& accum, bool trim) {
    std::string text = StringUtil::repairUtf8(accum.take());
    return trim ? StringUtil::trimUnicodeWhitespace(std::move(text)) : text;
}

} // namespace

std::string Element::text(bool trimAndNormaliseWhitespace) const {
    StringBuilder accum(1024);
    NodeTraversor::forEach(
        const_cast<Element&>(*this),
        [&](Node& node, int) {
            if (node.isTextNode()) {
                const auto& t = static_cast<const TextNode&>(node);
                if (trimAndNormaliseWhitespace)
                    appendNormalisedText(accum, t);
                else
                    accum.append(t.getWholeText());
            } else if (const Element* e = node.asElement()) {
                if (!accum.isEmpty() && (e->isBlock() || e->tagNameNormal() == "br") && accum.back() != ' ')
                    accum.append(' ');
            }
        },
        [](Node&, int) {});
    return finishText(accum, trimAndNormaliseWhitespace);
}

std::string Element::ownText() const {
    StringBuilder accum(1024);
    for (Node* child : getChildNodes()) {
        if (child->isTextNode()) {
            appendNormalisedText(accum, static_cast<const TextNode&>(*child));
        } else if (const Element* e = child->asElement(); e && e->tagNameNormal() == "br") {
            if (accum.isEmpty() || accum.back() != ' ') accum.append(' ');
        }
    }
    return finishText(accum, true);
}

bool Element::hasText() const {
    // Depth first with early exit.
    const Node* node = this;
    while (true) {
        if (node->isTextNode() && !static_cast<const TextNode*>(node)->isBlank()) return true;
        if (node->hasChildNodes()) {
            node = node->childNode(0);
            continue;
        }
        while (node != this && !node->nextSibling())
            node = node->parentNode();
        if (node == this) return false;
        node = node->nextSibling();
    }
}

std::string Element::data() const {
    StringBuilder accum;
    NodeTraversor::forEach(
        const_cast<Element&>(*this),
        [&](Node& node, int) {
            if (node.isDataNode()) accum.append(static_cast<const DataNode&>(node).getWholeData());
        },
        [](Node&, int) {});
    return accum.take();
}

// ---- output

std::string Element::html() const {
    StringBuilder accum(1024);
    html(accum);
    std::string out = accum.take();
    if (outputSettingsForOutput().prettyPrint()) {
        const std::string_view trimmed = StringUtil::trim(out);
        if (trimmed.size() != out.size()) return std::string(trimmed);
    }
    return out;
}

StringBuilder& Element::html(StringBuilder& accum) const {
    Node::html(accum);
    return accum;
}

void Element::outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const {
    if (out.prettyPrint() && !accum.isEmpty()) {
        const Element* p = parent();
        if (tag_->formatAsBlock() || (p && p->tag().formatAsBlock()) || out.outline())
            indent(accum, depth, out);
    }
    accum.append('<').append(tagName());
    if (const Attributes* a = attributesIfPresent()) a->html(accum, out);
    if (!hasChildNodes() && tag_->isSelfClosing())
        accum.append(" />");
    else
        accum.append('>');
}

void Element::outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const {
    if (!hasChildNodes() && tag_->isSelfClosing()) return;
    if (out.prettyPrint() && hasChildNodes()) {
        const bool outlined =
            out.outline() && (childNodeSize() > 1 || (childNodeSize() == 1 && !childNode(0)->isTextNode()));
        if (tag_->formatAsBlock() || outlined) indent(accum, depth, out);
    }
    accum.append("</").append(tagName()).append('>');
}

} // namespace html
