#pragma once

#include "html/nodes/Node.h"
#include "html/parser/Tag.h"

#include <concepts>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace html {

class DataNode;
class Elements;
class TextNode;

// An HTML element: a node with a tag, attributes and children.
class Element : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    explicit Element(TagRef tag, std::string_view baseUri = {});
    Element(TagRef tag, Ref<SharedString> baseUri);
    Element(TagRef tag, Ref<SharedString> baseUri, Attributes attributes);

public:
    ~Element() override;

    std::string_view nodeName() const override { return tag_->getName(); }
    const std::string& tagName() const noexcept { return tag_->getName(); }
    // The lower-cased name.
    const std::string& tagNameNormal() const noexcept { return tag_->getNameNormal(); }
    // Renames the element (the name is taken as written).
    Element& tagName(std::string_view name);
    const Tag& tag() const noexcept { return *tag_; }
    const TagRef& tagRef() const noexcept { return tag_; }
    bool isBlock() const noexcept { return tag_->isBlock(); }
    std::string id() const;

    using Node::attr;
    Element& attr(std::string_view key, std::string_view value) {
        Node::attr(key, value);
        return *this;
    }
    template <class B>
    requires std::same_as<B, bool> Element& attr(std::string_view key, B value) {
        getAttributes().put(key, value);
        return *this;
    }
    std::map<std::string, std::string> dataset() const;

    // Navigation; none of these change the tree.
    Element* parent() const noexcept;
    // Ancestors, nearest first, up to (not including) the document root.
    Elements parents() const;
    Elements children() const;
    std::size_t childrenSize() const noexcept;
    // children() at index, or null when there are not that many element children.
    Element* child(std::size_t index) const noexcept;
    Elements siblingElements() const;
    Element* nextElementSibling() const noexcept;
    Element* previousElementSibling() const noexcept;
    Element* firstElementSibling() const noexcept;
    Element* lastElementSibling() const noexcept;
    std::size_t elementSiblingIndex() const noexcept;
    std::vector<Ref<TextNode>> textNodes() const;
    std::vector<Ref<DataNode>> dataNodes() const;

    // Mutation.
    Element& appendChild(BorrowedNode child);
    Element& prependChild(BorrowedNode child);
    // A negative index counts from the end: -1 appends.
    Element& insertChildren(int index, std::span<Node* const> nodes);
    Element& insertChildren(int index, std::initializer_list<Node*> nodes) {
        return insertChildren(index, std::span(nodes));
    }
    Ref<Element> appendElement(std::string_view tagName);
    Ref<Element> prependElement(std::string_view tagName);
    Element& appendText(std::string_view text);
    Element& prependText(std::string_view text);
    // Removes every child.
    Element& empty();
    // Replaces the children with one text node.
    Element& setText(std::string_view text);
    using Node::after;
    using Node::before;
    Element& before(Node* node) {
        Node::before(node);
        return *this;
    }
    Element& after(Node* node) {
        Node::after(node);
        return *this;
    }

    // Mutation from HTML text (parsed as a fragment with this element as context).
    Element& html(std::string_view html);
    Element& append(std::string_view html);
    Element& prepend(std::string_view html);

    // Classes.
    std::string className() const;
    std::vector<std::string> classNames() const;
    Element& classNames(const std::vector<std::string>& names);
    bool hasClass(std::string_view name) const;
    Element& addClass(std::string_view name);
    Element& removeClass(std::string_view name);
    Element& toggleClass(std::string_view name);

    // The "value" attribute, or the text of a textarea.
    std::string val() const;
    Element& val(std::string_view value);

    // Text.
    std::string text(bool trimAndNormaliseWhitespace = true) const;
    std::string ownText() const;
    bool hasText() const;
    std::string data() const;

    // Output.
    std::string html() const;
    StringBuilder& html(StringBuilder& accum) const;
    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

    // Queries. They change nothing (getElementsByTag may rebuild its index, a cache) and hand out
    // the tree's own nodes: an Element* is borrowed, valid while the tree holds it (keep a Ref to
    // hold it longer); an Elements holds its matches.
    // getElementsByTag reads the tag-name index of this subtree.
    Elements getElementsByTag(std::string_view tagName) const;
    void rebuildQueryIndexesForAllTags();
    void rebuildQueryIndexesForThisNodeOnly();

    // Selector queries, defined with the selector engine.
    Elements select(std::string_view query) const;
    bool iS(std::string_view query) const;
    std::string cssSelector() const;
    Element* getElementById(std::string_view id) const;
    Elements getElementsByClass(std::string_view className) const;
    Elements getElementsByAttribute(std::string_view key) const;
    Elements getElementsByAttributeStarting(std::string_view keyPrefix) const;
    Elements getElementsByAttributeValue(std::string_view key, std::string_view value) const;
    Elements getElementsByAttributeValueNot(std::string_view key, std::string_view value) const;
    Elements getElementsByAttributeValueStarting(std::string_view key, std::string_view valuePrefix) const;
    Elements getElementsByAttributeValueEnding(std::string_view key, std::string_view valueSuffix) const;
    Elements getElementsByAttributeValueContaining(std::string_view key, std::string_view match) const;
    Elements getElementsByAttributeValueMatching(std::string_view key, std::string_view regex) const;
    Elements getElementsByIndexLessThan(int index) const;
    Elements getElementsByIndexGreaterThan(int index) const;
    Elements getElementsByIndexEquals(int index) const;
    Elements getElementsContainingText(std::string_view searchText) const;
    Elements getElementsContainingOwnText(std::string_view searchText) const;
    Elements getElementsMatchingText(std::string_view regex) const;
    Elements getElementsMatchingOwnText(std::string_view regex) const;
    Elements getAllElements() const;

protected:
    Element(NodeKind kind, TagRef tag, Ref<SharedString> baseUri);
    Element(NodeKind kind, TagRef tag, Ref<SharedString> baseUri, Attributes attributes);
    Ref<Node> shallowClone() const override;
    void copyElementStateTo(Element& clone) const;

private:
    using QueryIndex = std::unordered_map<std::string, std::vector<Element*>>;

    TagRef tag_;
    // Elements of this subtree by lower-case tag name, in breadth-first order. Plain pointers are
    // safe: every removal below marks this element dirty, and a dirty index is rebuilt before use.
    mutable std::unique_ptr<QueryIndex> queryIndex_;
};

} // namespace html

// Most element queries return Elements; with this, including Element.h is enough to use them.
#include "html/nodes/Elements.h"
