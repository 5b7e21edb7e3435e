#pragma once

#include "html/nodes/Ref.h"

namespace html {

class Node;

// A node handed to a tree operation for the length of the call, from a plain pointer or from
// any Ref: a Ref no longer turns into a plain pointer by itself (one that could outlive it), so
// the operations that take a node take this instead.
class BorrowedNode {
public:
    BorrowedNode(Node* node) noexcept : node_(node) {}
    template <class T> BorrowedNode(const Ref<T>& node) noexcept : node_(node.get()) {}
    operator Node*() const noexcept { return node_; }
    Node* get() const noexcept { return node_; }

private:
    Node* node_;
};

} // namespace html
