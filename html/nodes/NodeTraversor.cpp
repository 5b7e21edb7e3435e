#include "html/nodes/NodeTraversor.h"

#include "html/nodes/Validate.h"

namespace html {

namespace {
// What now stands where a node stood, when the visitor took it out of its parent.
Node* successor(Node* node, Node* parent, std::size_t index, std::size_t offset) {
    const std::size_t at = node->parentNode() == parent ? index + offset : index;
    return at < parent->childNodeSize() ? parent->childNode(at) : nullptr;
}
} // namespace

void NodeTraversor::traverse(BorrowedNode rootArg) {
    Node* root = rootArg;
    Validate::notNull(root);
    // Nodes below the root are held while visited so that a visitor removing one cannot free it
    // under the walk; the root stays the caller's to keep (it may not be counted at all).
    Node* node = root;
    int depth = 0;
    while (true) {
        Node* parent = node->parentNode();
        auto index = static_cast<std::size_t>(node->siblingIndex());
        {
            Ref<Node> hold(node == root ? nullptr : node);
            visitor_.enter(*node, depth);
            if (node != root && node->parentNode() != parent) {
                if (Node* next = successor(node, parent, index, 0)) {
                    node = next;
                    continue;
                }
                node = parent;
                --depth;
                goto finish;
            }
        }
        if (node->hasChildNodes()) {
            node = node->childNode(0);
            ++depth;
            continue;
        }
    finish:
        while (true) {
            Ref<Node> hold(node == root ? nullptr : node);
            parent = node->parentNode();
            index = static_cast<std::size_t>(node->siblingIndex());
            visitor_.leave(*node, depth);
            if (node == root) return;
            if (Node* next = successor(node, parent, index, 1)) {
                node = next;
                break;
            }
            node = parent;
            --depth;
        }
    }
}

} // namespace html
