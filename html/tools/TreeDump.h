#pragma once

#include <span>
#include <string>

namespace html {
class Node;
}

namespace html::tool {

// Writes nodes (and their subtrees) in the html5lib tree-dump form, one node per line starting
// "| " plus two spaces per level; adjacent text siblings print as one line.
void dumpTree(std::span<Node* const> nodes, std::string& out);

} // namespace html::tool
