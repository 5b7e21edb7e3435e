#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace html {

// One node of the byte trie behind ParsingStrings. Children are kept sparse (sorted by byte):
// the sets are small, and a dense 256-slot table per node would cost kilobytes for nothing.
class TrieNode {
public:
    TrieNode() = default;
    TrieNode(const TrieNode&) = delete;
    TrieNode& operator=(const TrieNode&) = delete;

    const TrieNode* child(unsigned char byte) const;
    TrieNode& childOrCreate(unsigned char byte);

    bool isTerminal = false;

private:
    std::vector<std::pair<unsigned char, std::unique_ptr<TrieNode>>> children;
};

} // namespace html
