#pragma once

#include "html/nodes/Attributes.h"
#include "html/nodes/BorrowedNode.h"
#include "html/nodes/NodeArena.h"
#include "html/nodes/Ref.h"
#include "html/nodes/SharedString.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Node classes keep their constructors protected and open them to make<T>() and makeIn<T>() only,
// so that every node is counted and none can be made on the stack and then deleted through a Ref.
#define HTML_NODE_MADE_BY_MAKE_ONLY                                                                          \
    template <class U, class... Args> friend Ref<U> make(Args&&... args);                                    \
    template <class U, class... Args> friend Ref<U> makeIn(NodeArena* arena, Args&&... args)

namespace html {

class Document;
class Element;
class NodeVisitor;
class OutputSettings;
class StringBuilder;

enum class NodeKind : std::uint8_t {
    Element,
    Document,
    FormElement,
    Text,
    Data,
    Comment,
    DocumentType,
    XmlDeclaration,
};

// Base of every tree node. A parent owns its children (each child holds one count for its parent),
// the parent link is a plain back-pointer, and callers keep nodes alive through Ref<Node>.
// Child list, attributes and query index are allocated only when first needed; destruction, deep
// copy and traversal never recurse, so any depth is safe.
// Create nodes with make<T>(...), or makeIn<T>(arena, ...) to place them in a NodeArena (the tree
// builder does). A node made with plain new starts uncounted and belongs to the first parent or
// Ref it is given; a node that leaves its parent is freed unless a Ref holds it. A node's child
// list, attribute list and (for a text node) text come from its own arena, or the heap when it
// has none.
class Node {
public:
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    NodeKind kind() const noexcept { return kind_; }
    bool isElement() const noexcept { return kind_ <= NodeKind::FormElement; }
    bool isDocument() const noexcept { return kind_ == NodeKind::Document; }
    bool isTextNode() const noexcept { return kind_ == NodeKind::Text; }
    bool isDataNode() const noexcept { return kind_ == NodeKind::Data; }
    bool isComment() const noexcept { return kind_ == NodeKind::Comment; }
    Element* asElement() noexcept;
    const Element* asElement() const noexcept;

    virtual std::string_view nodeName() const = 0;

    // Attributes. Keys are compared ignoring ASCII case; "abs:key" resolves key against the base URI.
    virtual std::string attr(std::string_view key) const;
    Node& attr(std::string_view key, std::string_view value);
    virtual bool hasAttr(std::string_view key) const;
    Node& removeAttr(std::string_view key);
    // Creates the (empty) attribute list on first use.
    Attributes& getAttributes();
    // Null when the node never had attributes.
    const Attributes* attributesIfPresent() const noexcept { return attributes_; }
    bool hasAttributes() const noexcept { return attributes_ && !attributes_->isEmpty(); }

    std::string_view getBaseUri() const noexcept;
    const Ref<SharedString>& baseUriRef() const noexcept { return baseUri_; }
    // Sets the base URI of this node and of every descendant.
    void setBaseUri(std::string_view uri);
    std::string absUrl(std::string_view key) const;

    // Children. An index outside the list is a caller error.
    Node* childNode(std::size_t index) const noexcept { return children_[index]; }
    std::span<Node* const> getChildNodes() const noexcept { return {children_, childCount_}; }
    std::vector<Ref<Node>> childNodesCopy() const;
    std::size_t childNodeSize() const noexcept { return childCount_; }
    bool hasChildNodes() const noexcept { return childCount_ != 0; }
    Node* firstChild() const noexcept { return childCount_ ? children_[0] : nullptr; }
    Node* lastChild() const noexcept { return childCount_ ? children_[childCount_ - 1] : nullptr; }

    Node* parent() const noexcept { return parent_; }
    Node* parentNode() const noexcept { return parent_; }
    // The top of the parent chain (this node when it has no parent).
    Node* root() const noexcept;
    Document* ownerDocument() const noexcept;

    std::vector<Ref<Node>> siblingNodes() const;
    Node* nextSibling() const noexcept;
    bool hasNextSibling() const noexcept { return nextSibling() != nullptr; }
    Node* previousSibling() const noexcept;
    int siblingIndex() const noexcept { return siblingIndex_; }
    void setSiblingIndex(int index) noexcept { siblingIndex_ = index; }

    // Mutation. Each operation validates first and leaves the tree unchanged when it fails.
    // Detaches this node from its parent (it is freed when nothing else holds it).
    void remove();
    Node& before(BorrowedNode node);
    Node& after(BorrowedNode node);
    // These parse their HTML as a fragment in the context of this node's parent.
    Node& before(std::string_view html);
    Node& after(std::string_view html);
    Node& wrap(std::string_view html);
    void addSiblingHtml(std::size_t index, std::string_view html);
    // Moves the children into the parent in this node's place and removes this node; returns
    // the first moved child or null.
    Node* unwrap();
    void replaceWith(BorrowedNode in);
    void replaceChild(BorrowedNode out, BorrowedNode in);
    void removeChild(BorrowedNode out);
    void addChildren(std::initializer_list<Node*> nodes) { addChildren(childCount_, std::span(nodes)); }
    void addChildren(std::span<Node* const> nodes) { addChildren(childCount_, nodes); }
    void addChildren(std::size_t index, std::initializer_list<Node*> nodes) {
        addChildren(index, std::span(nodes));
    }
    void addChildren(std::size_t index, std::span<Node* const> nodes);
    void reindexChildren(std::size_t start) noexcept;
    // Detaches this node from its parent, then links it to parent (without listing it there).
    void setParentNode(Node* parent);

    // Depth-first walk of this subtree.
    Node& traverse(NodeVisitor& visitor);

    // Output.
    virtual std::string outerHtml() const;
    void outerHtml(StringBuilder& accum) const;
    void outerHtml(StringBuilder& accum, const OutputSettings& out) const;
    virtual void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const = 0;
    virtual void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const = 0;
    // Serialises the children.
    void html(StringBuilder& accum) const;
    // A line feed and depth * indentAmount spaces, at most kMaxIndent of them.
    void indent(StringBuilder& accum, int depth, const OutputSettings& out) const;
    static constexpr long long kMaxIndent = 128;
    std::string toString() const { return outerHtml(); }
    // Same outer HTML.
    bool hasSameValue(const Node& other) const;
    // The owner document's settings, or a default instance outside a document.
    const OutputSettings& outputSettingsForOutput() const;

    // The arena this node was made in (null: made on the heap).
    NodeArena* arena() const noexcept {
        return pieceSize_ ? *reinterpret_cast<NodeArena* const*>(reinterpret_cast<const char*>(this) -
                                                                 NodeArena::kNodeHeader)
                          : nullptr;
    }

    // Deep copy of the subtree; the copy has no parent.
    Ref<Node> copy() const;

    // Tag-name query index.
    bool isQueryIndexDirty() const noexcept { return queryIndexDirty_; }
    // Marks this node and its ancestors; stops at an ancestor already marked, whose own
    // ancestors are then marked too (a rebuild clears a whole subtree at once).
    void markQueryIndexDirty() noexcept;

protected:
    Node(NodeKind kind) noexcept : Node(kind, nullptr) {}
    Node(NodeKind kind, Ref<SharedString> baseUri) noexcept
        : Node(kind, std::move(baseUri), NodeArena::claimConstruction(this)) {}
    Node(NodeKind kind, Ref<SharedString> baseUri, Attributes attributes);

    // A copy of this node's own state (not its children, not its parent).
    virtual Ref<Node> shallowClone() const = 0;
    void copyBaseStateTo(Node& clone) const;

    static Ref<SharedString> shareUri(std::string_view uri);
    void clearQueryIndexDirty() noexcept { queryIndexDirty_ = false; }

private:
    friend class Element;
    friend void refRetain(Node* n) noexcept { ++n->refs_; }
    friend void refRelease(Node* n) noexcept {
        if (--n->refs_ == 0) destroy(n);
    }
    Node(NodeKind kind, Ref<SharedString> baseUri, NodeArena::Construction made) noexcept
        : baseUri_(std::move(baseUri)), kind_(kind), pieceSize_(static_cast<std::uint16_t>(made.size)) {}
    static void destroy(Node* node) noexcept;
    // Frees one node whose children are already detached, back to where it was made.
    static void dispose(Node* node) noexcept;

    void reserveChildren(std::size_t total);
    // An empty attribute list beside this node (in its arena when it has one), and its release.
    Attributes* newAttributes();
    void freeAttributes() noexcept;
    void checkInsertable(Node* node) const;

    std::uint32_t refs_ = 0;
    std::int32_t siblingIndex_ = 0;
    Node* parent_ = nullptr;
    Node** children_ = nullptr;
    std::uint32_t childCount_ = 0;
    std::uint32_t childCapacity_ = 0;
    Ref<SharedString> baseUri_;
    Attributes* attributes_ = nullptr; // in arena() when the node has one
    NodeKind kind_;
    bool queryIndexDirty_ = false;
    // The bytes of this node's piece in its arena (with the arena's address before the node), for
    // giving them back; 0 for a node made on the heap.
    std::uint16_t pieceSize_ = 0;
};

} // namespace html
