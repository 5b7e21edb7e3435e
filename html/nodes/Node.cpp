#include "html/nodes/Node.h"

#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace html {

Node::Node(NodeKind kind, Ref<SharedString> baseUri, Attributes attributes)
    : Node(kind, std::move(baseUri), NodeArena::claimConstruction(this)) {
    if (!attributes.isEmpty()) {
        attributes_ = newAttributes();
        *attributes_ = std::move(attributes);
    }
}

Attributes* Node::newAttributes() {
    NodeArena* arena = this->arena();
    if (!arena) return new Attributes();
    void* memory = arena->allocate(sizeof(Attributes));
    return ::new (memory) Attributes(arena);
}

void Node::freeAttributes() noexcept {
    if (!attributes_) return;
    if (NodeArena* arena = this->arena()) {
        attributes_->~Attributes();
        arena->deallocate(attributes_, sizeof(Attributes));
    } else {
        delete attributes_;
    }
    attributes_ = nullptr;
}

Node::~Node() {
    // Children still listed here belong to an abandoned construction; detach them safely.
    for (std::uint32_t i = 0; i < childCount_; ++i) {
        children_[i]->parent_ = nullptr;
        refRelease(children_[i]);
    }
    NodeArena::deallocateIn(arena(), children_, childCapacity_ * sizeof(Node*));
    if (attributes_) freeAttributes();
}

void Node::dispose(Node* node) noexcept {
    NodeArena* arena = node->arena();
    if (!arena) {
        delete node;
        return;
    }
    const std::size_t size = node->pieceSize_;
    node->~Node();
    arena->deallocate(reinterpret_cast<char*>(node) - NodeArena::kNodeHeader, size);
    refRelease(arena);
}

void Node::destroy(Node* node) noexcept {
    if (node->childCount_ == 0) {
        dispose(node);
        return;
    }
    // Frees the whole subtree with an explicit stack instead of recursion, in document order:
    // that is the order a parse made the nodes in, so the walk reads its arena front to back.
    // A node goes as soon as its last child is reached, so a chain keeps the stack at one frame.
    struct Frame {
        Node* node;
        std::uint32_t next;
    };
    std::vector<Frame> stack;
    stack.reserve(64);
    stack.push_back({node, 0});
    while (!stack.empty()) {
        Frame& top = stack.back();
        Node* n = top.node;
        Node* c = n->children_[top.next++];
        c->parent_ = nullptr;
        const bool held = --c->refs_ != 0; // held elsewhere: it stays, with its subtree
        if (top.next == n->childCount_) {
            stack.pop_back(); // top is not used after this
            n->childCount_ = 0;
            dispose(n);
        }
        if (held) continue;
        if (c->childCount_)
            stack.push_back({c, 0});
        else
            dispose(c);
    }
}

Element* Node::asElement() noexcept {
    return isElement() ? static_cast<Element*>(this) : nullptr;
}

const Element* Node::asElement() const noexcept {
    return isElement() ? static_cast<const Element*>(this) : nullptr;
}

Ref<SharedString> Node::shareUri(std::string_view uri) {
    if (uri.empty()) return nullptr;
    return Ref<SharedString>(new SharedString(std::string(uri)));
}

// ---- attributes

std::string Node::attr(std::string_view key) const {
    if (attributes_) {
        if (const Attribute* a = attributes_->findIgnoreCase(key); a && !a->getValue().empty())
            return a->getValue();
    }
    if (StringUtil::startsWithIgnoreCase(key, "abs:")) return absUrl(key.substr(4));
    return {};
}

Node& Node::attr(std::string_view key, std::string_view value) {
    getAttributes().put(key, value);
    return *this;
}

bool Node::hasAttr(std::string_view key) const {
    if (StringUtil::startsWithIgnoreCase(key, "abs:")) {
        const std::string_view rest = key.substr(4);
        if (attributes_ && attributes_->findIgnoreCase(rest) && !absUrl(rest).empty()) return true;
    }
    return attributes_ && attributes_->hasKeyIgnoreCase(key);
}

Node& Node::removeAttr(std::string_view key) {
    if (attributes_) attributes_->removeIgnoreCase(key);
    return *this;
}

Attributes& Node::getAttributes() {
    if (!attributes_) attributes_ = newAttributes();
    return *attributes_;
}

std::string_view Node::getBaseUri() const noexcept {
    return baseUri_ ? std::string_view(baseUri_->value()) : std::string_view();
}

void Node::setBaseUri(std::string_view uri) {
    Ref<SharedString> shared = shareUri(uri);
    NodeTraversor::forEach(
        *this, [&](Node& n, int) { n.baseUri_ = shared; }, [](Node&, int) {});
}

std::string Node::absUrl(std::string_view key) const {
    Validate::notEmpty(key);
    if (!attributes_) return {};
    const Attribute* a = attributes_->findIgnoreCase(key);
    if (!a) return {};
    return StringUtil::resolve(getBaseUri(), a->getValue());
}

// ---- reading the tree

std::vector<Ref<Node>> Node::childNodesCopy() const {
    return {children_, children_ + childCount_};
}

Node* Node::root() const noexcept {
    const Node* n = this;
    while (n->parent_)
        n = n->parent_;
    return const_cast<Node*>(n);
}

Document* Node::ownerDocument() const noexcept {
    Node* r = root();
    return r->isDocument() ? static_cast<Document*>(r) : nullptr;
}

std::vector<Ref<Node>> Node::siblingNodes() const {
    std::vector<Ref<Node>> out;
    if (!parent_) return out;
    out.reserve(parent_->childCount_ - 1);
    for (Node* n : parent_->getChildNodes())
        if (n != this) out.emplace_back(n);
    return out;
}

Node* Node::nextSibling() const noexcept {
    if (!parent_) return nullptr;
    const auto next = static_cast<std::uint32_t>(siblingIndex_ + 1);
    return next < parent_->childCount_ ? parent_->children_[next] : nullptr;
}

Node* Node::previousSibling() const noexcept {
    if (!parent_ || siblingIndex_ == 0) return nullptr;
    return parent_->children_[siblingIndex_ - 1];
}

// ---- mutation

void Node::reserveChildren(std::size_t total) {
    if (total <= childCapacity_) return;
    Validate::isTrue(total < UINT32_MAX / 2, "Too many child nodes");
    // Capacities 3, 7, 15, ... fill the allocator's chunks exactly.
    const std::size_t cap = std::max<std::size_t>(total, childCapacity_ ? childCapacity_ * 2 + 1 : 3);
    children_ = static_cast<Node**>(
        NodeArena::reallocateIn(arena(), children_, childCapacity_ * sizeof(Node*), cap * sizeof(Node*)));
    childCapacity_ = static_cast<std::uint32_t>(cap);
}

void Node::checkInsertable(Node* node) const {
    Validate::notNull(node);
    // Inserting a node below itself would make a cycle that could never be walked or freed. Only a
    // node with children can be an ancestor, so leaves (the common case) skip the walk.
    if (node == this) Validate::fail("Cannot insert a node into itself or its own descendant");
    if (!node->childCount_) return;
    for (const Node* n = parent_; n; n = n->parent_)
        if (n == node) Validate::fail("Cannot insert a node into itself or its own descendant");
}

void Node::reindexChildren(std::size_t start) noexcept {
    for (std::size_t i = start; i < childCount_; ++i)
        children_[i]->siblingIndex_ = static_cast<std::int32_t>(i);
}

void Node::addChildren(std::size_t index, std::span<Node* const> nodes) {
    Validate::isTrue(index <= childCount_, "Insert position out of bounds.");
    if (nodes.empty()) return;
    Validate::noNullElementsIn(nodes);
    for (Node* n : nodes)
        checkInsertable(n);
    if (nodes.size() == 1 && index == childCount_ && !nodes[0]->parent_) {
        // Appending one node that has no parent: every insertion of a parse.
        Node* n = nodes[0];
        reserveChildren(childCount_ + 1);
        refRetain(n);
        n->parent_ = this;
        n->siblingIndex_ = static_cast<std::int32_t>(childCount_);
        children_[childCount_++] = n;
        if (n->isElement()) {
            n->queryIndexDirty_ = true;
            markQueryIndexDirty();
        }
        return;
    }

    // Hold every node while it moves so that leaving its old parent cannot free it. One node (every
    // append of a parse) is held without a list.
    Ref<Node> one;
    std::vector<Ref<Node>> several;
    std::span<Ref<Node>> moving;
    if (nodes.size() == 1) {
        one = Ref<Node>(nodes[0]);
        moving = {&one, 1};
    } else {
        several.reserve(nodes.size());
        for (Node* n : nodes) {
            if (std::find(several.begin(), several.end(), n) != several.end()) continue; // listed twice
            several.emplace_back(n);
        }
        moving = several;
    }
    for (const Ref<Node>& n : moving) {
        // A node that already sits before the insertion point here shifts that point when it leaves.
        if (n->parent_ == this && static_cast<std::size_t>(n->siblingIndex_) < index) --index;
    }
    reserveChildren(childCount_ + moving.size());
    for (auto it = moving.rbegin(); it != moving.rend(); ++it) {
        Node* n = it->get();
        if (n->parent_) n->parent_->removeChild(n);
    }
    std::memmove(children_ + index + moving.size(), children_ + index, (childCount_ - index) * sizeof(Node*));
    bool anyElement = false;
    for (std::size_t i = 0; i < moving.size(); ++i) {
        Node* n = moving[i].release(); // the count now belongs to this parent
        n->parent_ = this;
        children_[index + i] = n;
        if (n->isElement()) {
            n->queryIndexDirty_ = true;
            anyElement = true;
        }
    }
    childCount_ += static_cast<std::uint32_t>(moving.size());
    reindexChildren(index);
    if (anyElement) markQueryIndexDirty();
}

void Node::removeChild(BorrowedNode outArg) {
    Node* out = outArg;
    Validate::notNull(out);
    Validate::isTrue(out->parent_ == this);
    const auto index = static_cast<std::size_t>(out->siblingIndex_);
    std::memmove(children_ + index, children_ + index + 1, (childCount_ - index - 1) * sizeof(Node*));
    --childCount_;
    reindexChildren(index);
    out->parent_ = nullptr;
    markQueryIndexDirty();
    refRelease(out);
}

void Node::replaceChild(BorrowedNode outArg, BorrowedNode inArg) {
    Node* out = outArg;
    Node* in = inArg;
    Validate::notNull(out);
    Validate::isTrue(out->parent_ == this);
    checkInsertable(in);
    if (in == out) return;
    Ref<Node> keepIn(in);
    if (in->parent_) in->parent_->removeChild(in);
    const auto index = static_cast<std::size_t>(out->siblingIndex_);
    children_[index] = keepIn.release();
    in->parent_ = this;
    in->siblingIndex_ = static_cast<std::int32_t>(index);
    out->parent_ = nullptr;
    if (in->isElement()) in->queryIndexDirty_ = true;
    markQueryIndexDirty();
    refRelease(out);
}

void Node::setParentNode(Node* parent) {
    // Leaving the old parent must not free this node before the new link is set; a node nobody
    // else holds is still freed on return.
    Ref<Node> self(parent_ ? this : nullptr);
    if (parent_) parent_->removeChild(this);
    parent_ = parent;
    if (parent && isElement()) {
        queryIndexDirty_ = true;
        parent->markQueryIndexDirty();
    }
}

void Node::remove() {
    if (parent_) parent_->removeChild(this);
}

Node& Node::before(BorrowedNode nodeArg) {
    Node* node = nodeArg;
    Validate::notNull(node);
    Validate::notNull(parent_);
    parent_->addChildren(static_cast<std::size_t>(siblingIndex_), {node});
    return *this;
}

Node& Node::after(BorrowedNode nodeArg) {
    Node* node = nodeArg;
    Validate::notNull(node);
    Validate::notNull(parent_);
    parent_->addChildren(static_cast<std::size_t>(siblingIndex_) + 1, {node});
    return *this;
}

Node* Node::unwrap() {
    Validate::notNull(parent_);
    Ref<Node> self(this);
    Node* first = firstChild();
    if (childCount_) {
        std::vector<Node*> kids(children_, children_ + childCount_);
        parent_->addChildren(static_cast<std::size_t>(siblingIndex_), std::span<Node* const>(kids));
    }
    remove();
    return first;
}

void Node::replaceWith(BorrowedNode inArg) {
    Node* in = inArg;
    Validate::notNull(in);
    Validate::notNull(parent_);
    parent_->replaceChild(this, in);
}

void Node::markQueryIndexDirty() noexcept {
    for (Node* n = this; n && !n->queryIndexDirty_; n = n->parent_)
        n->queryIndexDirty_ = true;
}

Node& Node::traverse(NodeVisitor& visitor) {
    NodeTraversor(visitor).traverse(this);
    return *this;
}

// ---- copying

void Node::copyBaseStateTo(Node& clone) const {
    clone.baseUri_ = baseUri_;
    if (attributes_) {
        if (!clone.attributes_) clone.attributes_ = clone.newAttributes();
        *clone.attributes_ = *attributes_;
    }
}

Ref<Node> Node::copy() const {
    Ref<Node> top = shallowClone();
    if (!childCount_) return top;
    // Work list of (original, its copy); children are appended to the copy in order.
    std::vector<std::pair<const Node*, Node*>> work{{this, top.get()}};
    while (!work.empty()) {
        auto [orig, clone] = work.back();
        work.pop_back();
        if (!orig->childCount_) continue;
        clone->reserveChildren(orig->childCount_);
        for (std::uint32_t i = 0; i < orig->childCount_; ++i) {
            const Node* child = orig->children_[i];
            Node* c = child->shallowClone().release();
            c->parent_ = clone;
            c->siblingIndex_ = static_cast<std::int32_t>(i);
            clone->children_[i] = c;
            clone->childCount_ = i + 1;
            if (child->childCount_) work.emplace_back(child, c);
        }
    }
    return top;
}

} // namespace html

namespace html {

// ---- output

const OutputSettings& Node::outputSettingsForOutput() const {
    if (const Document* doc = ownerDocument()) return doc->outputSettings();
    static const OutputSettings defaults;
    return defaults;
}

std::string Node::outerHtml() const {
    StringBuilder accum(1024);
    outerHtml(accum);
    return accum.take();
}

void Node::outerHtml(StringBuilder& accum) const {
    outerHtml(accum, outputSettingsForOutput());
}

void Node::outerHtml(StringBuilder& accum, const OutputSettings& out) const {
    NodeTraversor::forEach(
        const_cast<Node&>(*this), [&](Node& n, int depth) { n.outerHtmlHead(accum, depth, out); },
        [&](Node& n, int depth) {
            if (!n.isTextNode()) n.outerHtmlTail(accum, depth, out);
        });
}

void Node::html(StringBuilder& accum) const {
    if (!hasChildNodes()) return;
    const OutputSettings& out = outputSettingsForOutput();
    for (Node* child : getChildNodes())
        child->outerHtml(accum, out);
}

void Node::indent(StringBuilder& accum, int depth, const OutputSettings& out) const {
    accum.append('\n');
    // Capped: without a limit a deeply nested page would print quadratically many spaces.
    const long long spaces =
        std::min<long long>(static_cast<long long>(depth) * out.indentAmount(), kMaxIndent);
    if (spaces >= 1) accum.append(static_cast<std::size_t>(spaces), ' ');
}

bool Node::hasSameValue(const Node& other) const {
    return this == &other || outerHtml() == other.outerHtml();
}

} // namespace html
