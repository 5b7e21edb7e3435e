#pragma once

#include <cstdint>

namespace html {

class Element;
class Node;

// Positions of an element among its element siblings, as the index and nth pseudo-classes read
// them. Counting from the start of the parent for every element would make a selection over a
// wide parent quadratic, so while a Scope is open (a Collector opens one for each selection) the
// counts continue from a cursor kept per parent. The tree must not change while a Scope is open.
class ElementPositions {
public:
    // 0-based position among the parent's element children; 0 without a parent.
    static int elementIndex(const Element& element);
    // Number of element children of `parent`.
    static int elementCount(const Node& parent);
    // Number of earlier element siblings with the same tag.
    static int typeIndex(const Element& element);
    // Number of element children of the element's parent with its tag (itself included);
    // 1 without a parent.
    static int typeCount(const Element& element);

    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        friend class ElementPositions;
        struct Cursor {
            const Node* parent = nullptr;
            const void* tag = nullptr;  // null: every element counts
            std::uint32_t childPos = 0; // children before this position are counted in `before`
            int before = 0;
            int total = -1; // not yet known
        };
        static constexpr unsigned slots = 64; // indexed by the top 6 bits of a hash
        Cursor cursors_[slots];
        Scope* previous_;
    };

private:
    static Scope::Cursor* cursorFor(const Node& parent, const void* tag);
    // Counting children before the element / of the whole parent: every element, or with
    // `ofTag` only those with its tag.
    static int countBefore(const Element& element, const Element* ofTag);
    static int countAll(const Node& parent, const Element* ofTag);
};

} // namespace html
