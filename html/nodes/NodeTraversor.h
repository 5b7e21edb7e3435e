#pragma once

#include "html/nodes/BorrowedNode.h"

#include "html/nodes/Node.h"
#include "html/nodes/NodeVisitor.h"

namespace html {

// Depth-first walk without recursion: enter in document order, leave in post-order, never beyond
// the subtree of the root. A failure raised by the visitor ends the walk and reaches the caller.
class NodeTraversor {
public:
    explicit NodeTraversor(NodeVisitor& visitor) noexcept : visitor_(visitor) {}

    // The visitor may remove or replace the node it is visiting; the walk goes on with whatever
    // then stands in that node's place.
    void traverse(BorrowedNode root);

    // The same walk with inline callbacks, for read-only passes inside the library.
    template <class Enter, class Leave> static void forEach(Node& root, Enter&& enter, Leave&& leave) {
        Node* node = &root;
        int depth = 0;
        while (true) {
            enter(*node, depth);
            if (node->hasChildNodes()) {
                node = node->childNode(0);
                ++depth;
                continue;
            }
            while (true) {
                leave(*node, depth);
                if (node == &root) return;
                if (Node* next = node->nextSibling()) {
                    node = next;
                    break;
                }
                node = node->parentNode();
                --depth;
            }
        }
    }

private:
    NodeVisitor& visitor_;
};

} // namespace html
