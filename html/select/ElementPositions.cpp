#include "html/select/ElementPositions.h"

#include "html/nodes/Element.h"

#include <cstddef>

namespace html {

namespace {

thread_local ElementPositions::Scope* currentScope = nullptr;

// The key of "same tag" counting. Elements of one name normally share one Tag; when they do not,
// equal names still count alike (sameTag) and only the cache key differs.
const void* tagKey(const Element& element) {
    return &element.tag();
}

bool sameTag(const Element& a, const Element& b) {
    return &a.tag() == &b.tag() || a.tag() == b.tag();
}

bool counts(const Node& node, const Element* ofTag) {
    if (!node.isElement()) return false;
    return ofTag == nullptr || sameTag(*node.asElement(), *ofTag);
}

// Counts the children of `parent` in [from, to) that count.
int countRange(const Node& parent, std::size_t from, std::size_t to, const Element* ofTag) {
    int n = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (counts(*parent.childNode(i), ofTag)) ++n;
    }
    return n;
}

} // namespace

ElementPositions::Scope::Scope() : previous_(currentScope) {
    currentScope = this;
}

ElementPositions::Scope::~Scope() {
    currentScope = previous_;
}

ElementPositions::Scope::Cursor* ElementPositions::cursorFor(const Node& parent, const void* tag) {
    Scope* scope = currentScope;
    if (!scope) return nullptr;
    const auto p = reinterpret_cast<std::uintptr_t>(&parent);
    const auto t = reinterpret_cast<std::uintptr_t>(tag);
    const std::uint64_t h = ((p >> 4) ^ (t >> 3)) * 0x9E3779B97F4A7C15ull;
    Scope::Cursor& cursor = scope->cursors_[h >> 58];
    if (cursor.parent != &parent || cursor.tag != tag) cursor = Scope::Cursor{&parent, tag, 0, 0, -1};
    return &cursor;
}

int ElementPositions::countBefore(const Element& element, const Element* ofTag) {
    const Node* parent = element.parentNode();
    if (!parent) return 0;
    const auto pos = static_cast<std::size_t>(element.siblingIndex());
    Scope::Cursor* cursor = cursorFor(*parent, ofTag ? tagKey(*ofTag) : nullptr);
    if (!cursor) return countRange(*parent, 0, pos, ofTag);
    if (cursor->childPos <= pos) {
        cursor->before += countRange(*parent, cursor->childPos, pos, ofTag);
    } else {
        cursor->before -= countRange(*parent, pos, cursor->childPos, ofTag);
    }
    cursor->childPos = static_cast<std::uint32_t>(pos);
    return cursor->before;
}

int ElementPositions::countAll(const Node& parent, const Element* ofTag) {
    Scope::Cursor* cursor = cursorFor(parent, ofTag ? tagKey(*ofTag) : nullptr);
    if (!cursor) return countRange(parent, 0, parent.childNodeSize(), ofTag);
    if (cursor->total < 0) cursor->total = countRange(parent, 0, parent.childNodeSize(), ofTag);
    return cursor->total;
}

int ElementPositions::elementIndex(const Element& element) {
    return countBefore(element, nullptr);
}

int ElementPositions::elementCount(const Node& parent) {
    return countAll(parent, nullptr);
}

int ElementPositions::typeIndex(const Element& element) {
    return countBefore(element, &element);
}

int ElementPositions::typeCount(const Element& element) {
    const Node* parent = element.parentNode();
    return parent ? countAll(*parent, &element) : 1;
}

} // namespace html
