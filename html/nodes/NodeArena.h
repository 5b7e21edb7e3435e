#pragma once

#include "html/nodes/Ref.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace html {

// Memory for the nodes a parse makes, with their child lists and texts: carved from a few large
// blocks, so that freeing a parsed document costs a handful of block frees instead of one free per
// node, and the nodes of one document sit together in memory.
//
// Lifetime: every node made in an arena holds a count on it, and so does a parse in progress.
// The blocks go when the last count goes: a node that outlives its document keeps the arena (and
// with it the memory of the whole parse) until the node itself goes.
// Reuse: a freed piece goes on a list of its size and is handed out again, so that editing a
// document does not grow its arena without bound. Requests above kLargest go to the system
// allocator. Not thread-safe, like the tree.
class NodeArena {
public:
    static constexpr std::size_t kLargest = 1024;

    // firstBlock: bytes of the first block (a hint: the tree builder passes a size from its input).
    static Ref<NodeArena> create(std::size_t firstBlock = 4096);

    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    void* allocate(std::size_t bytes);
    void deallocate(void* p, std::size_t bytes) noexcept;

    // The same for memory that may or may not belong to an arena (null: the system allocator), so
    // that a node's own pieces go back where they came from.
    static void* allocateIn(NodeArena* arena, std::size_t bytes);
    static void deallocateIn(NodeArena* arena, void* p, std::size_t bytes) noexcept;
    // Moves to a new size, keeping the first min(oldBytes, newBytes) bytes.
    static void* reallocateIn(NodeArena* arena, void* p, std::size_t oldBytes, std::size_t newBytes);

    // Bytes taken from the system as blocks.
    std::size_t reservedBytes() const noexcept { return reserved_; }
    std::uint32_t holds() const noexcept { return holds_; }

    // For node constructors: the arena and size of the node being made by makeIn (null and 0 for
    // any other construction). Taking it clears it, so nodes made inside a constructor are not
    // mistaken for arena nodes.
    struct Construction {
        NodeArena* arena = nullptr;
        std::uint32_t size = 0;
    };
    static Construction claimConstruction() noexcept { return std::exchange(constructing_, Construction{}); }

    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);

private:
    explicit NodeArena(std::size_t firstBlock) noexcept : nextBlock_(firstBlock) {}
    ~NodeArena();

    friend void refRetain(NodeArena* a) noexcept { ++a->holds_; }
    friend void refRelease(NodeArena* a) noexcept {
        if (--a->holds_ == 0) delete a;
    }

    static constexpr std::size_t kGrain = 8;
    static constexpr std::size_t kBiggestBlock = std::size_t{1} << 20;
    static std::size_t rounded(std::size_t bytes) noexcept { return (bytes + kGrain - 1) & ~(kGrain - 1); }
    void* carve(std::size_t bytes);

    struct Block {
        Block* next;
    };

    std::array<void*, kLargest / kGrain + 1> free_{};
    char* cursor_ = nullptr;
    char* limit_ = nullptr;
    Block* blocks_ = nullptr;
    std::size_t nextBlock_;
    std::size_t reserved_ = 0;
    std::uint32_t holds_ = 0;

    static thread_local Construction constructing_;
};

// Makes a node in an arena (or on the heap when arena is null), counted like make<T>(). The node
// records its arena and holds a count on it until it is freed.
template <class T, class... Args> Ref<T> makeIn(NodeArena* arena, Args&&... args) {
    static_assert(sizeof(T) <= UINT16_MAX, "a node's size is kept in 16 bits");
    if (!arena) return make<T>(std::forward<Args>(args)...);
    void* memory = arena->allocate(sizeof(T));
    NodeArena::constructing_ = {arena, static_cast<std::uint32_t>(sizeof(T))};
    T* node;
    try {
        node = ::new (memory) T(std::forward<Args>(args)...);
    } catch (...) {
        NodeArena::constructing_ = {};
        arena->deallocate(memory, sizeof(T));
        throw;
    }
    ++arena->holds_;
    return Ref<T>(node);
}

} // namespace html
