#pragma once

namespace html {

class Node;

// Callbacks of a depth-first walk: enter in document order, leave after the node's subtree.
class NodeVisitor {
public:
    virtual ~NodeVisitor() = default;
    virtual void enter(Node& node, int depth) = 0;
    virtual void leave(Node& node, int depth) = 0;
};

} // namespace html
