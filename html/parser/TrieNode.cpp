#include "html/parser/TrieNode.h"

#include <algorithm>

namespace html {

namespace {
template <typename Vec> auto lowerBound(Vec& children, unsigned char byte) {
    return std::lower_bound(children.begin(), children.end(), byte,
                            [](const auto& entry, unsigned char b) { return entry.first < b; });
}
} // namespace

const TrieNode* TrieNode::child(unsigned char byte) const {
    auto it = lowerBound(children, byte);
    return (it != children.end() && it->first == byte) ? it->second.get() : nullptr;
}

TrieNode& TrieNode::childOrCreate(unsigned char byte) {
    auto it = lowerBound(children, byte);
    if (it == children.end() || it->first != byte)
        it = children.emplace(it, byte, std::make_unique<TrieNode>());
    return *it->second;
}

} // namespace html
