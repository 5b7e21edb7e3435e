#pragma once

#include "html/nodes/Ref.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

// Under AddressSanitizer every piece goes through the out-of-line paths, which poison freed and
// not yet handed-out memory so that a use after free inside an arena is still reported.
// NOTARA_HTML_ARENA_BLOCKS keeps the real block path under the sanitizer, so that it is fuzzed too.
#if defined(NOTARA_HTML_ARENA_BLOCKS)
#elif defined(__SANITIZE_ADDRESS__)
#define NOTARA_HTML_ARENA_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NOTARA_HTML_ARENA_CHECKED 1
#endif
#endif

namespace html {

// Memory for the nodes a parse makes, with their child lists, texts and attribute lists: carved from a few
// large blocks, so that freeing a parsed document costs a handful of block frees instead of one free per
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
    // Bytes before a node made in an arena: the arena's address.
    static constexpr std::size_t kNodeHeader = sizeof(void*);

    // firstBlock: bytes of the first block (a hint: the tree builder passes a size from its input).
    static Ref<NodeArena> create(std::size_t firstBlock = 4096);

    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // The common cases (a piece from a list, or from the current block) are inline: a parse takes
    // several pieces per node.
    void* allocate(std::size_t bytes) {
#ifndef NOTARA_HTML_ARENA_CHECKED
        if (bytes <= kLargest) {
            const std::size_t size = rounded(bytes);
            if (void* p = free_[size / kGrain]) {
                free_[size / kGrain] = *static_cast<void**>(p);
                return p;
            }
            if (static_cast<std::size_t>(limit_ - cursor_) >= size) {
                void* p = cursor_;
                cursor_ += size;
                return p;
            }
        }
#endif
        return allocateSlow(bytes);
    }
    void deallocate(void* p, std::size_t bytes) noexcept {
#ifndef NOTARA_HTML_ARENA_CHECKED
        if (p && bytes <= kLargest) {
            void*& head = free_[rounded(bytes) / kGrain];
            *static_cast<void**>(p) = head;
            head = p;
            return;
        }
#endif
        deallocateSlow(p, bytes);
    }

    // The same for memory that may or may not belong to an arena (null: the system allocator), so
    // that a node's own pieces go back where they came from.
    static void* allocateIn(NodeArena* arena, std::size_t bytes) {
        return arena ? arena->allocate(bytes) : heapAllocate(bytes);
    }
    static void deallocateIn(NodeArena* arena, void* p, std::size_t bytes) noexcept {
        if (arena)
            arena->deallocate(p, bytes);
        else
            heapFree(p);
    }
    // Moves to a new size, keeping the first min(oldBytes, newBytes) bytes.
    static void* reallocateIn(NodeArena* arena, void* p, std::size_t oldBytes, std::size_t newBytes);

    // Gives the system back the large blocks freed trees left for later parses (they are kept
    // so that a process parsing again does not touch new memory).
    static void releaseKeptBlocks() noexcept;

    // Bytes taken from the system as blocks.
    std::size_t reservedBytes() const noexcept {
        return reserved_;
    }
    std::uint32_t holds() const noexcept {
        return holds_;
    }

    // For node constructors: the arena and piece size of the node makeIn is making at `self` (null and 0
    // for any other construction, such as a node made while the arguments of another are worked
    // out). Taking it clears it.
    struct Construction {
        NodeArena* arena = nullptr;
        std::uint32_t size = 0;
        const void* memory = nullptr;
    };
    static Construction claimConstruction(const void* self) noexcept {
        if (constructing_.memory != self) return {};
        return std::exchange(constructing_, Construction{});
    }

    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);

private:
    explicit NodeArena(std::size_t firstBlock) noexcept : nextBlock_(firstBlock) {}
    ~NodeArena();

    friend void refRetain(NodeArena* a) noexcept {
        ++a->holds_;
    }
    friend void refRelease(NodeArena* a) noexcept {
        if (--a->holds_ == 0) delete a;
    }

    static constexpr std::size_t kGrain = 8;
    // One large page: the size at which blocks are mapped rather than taken from the heap.
    static constexpr std::size_t kBiggestBlock = std::size_t{2} << 20;
    // Every piece holds at least the free list's link.
    static std::size_t rounded(std::size_t bytes) noexcept {
        return bytes <= kGrain ? kGrain : (bytes + kGrain - 1) & ~(kGrain - 1);
    }
    void* allocateSlow(std::size_t bytes);
    void deallocateSlow(void* p, std::size_t bytes) noexcept;
    static void* heapAllocate(std::size_t bytes);
    static void heapFree(void* p) noexcept {
        std::free(p);
    }
    void* carve(std::size_t bytes);

    struct Block {
        Block* next;
        std::size_t size;
        bool mapped;
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
// holds a count on its arena until it is freed. The arena's address sits in the word before the
// node (kNodeHeader), so that nodes made on the heap carry no link of their own.
template <class T, class... Args> Ref<T> makeIn(NodeArena* arena, Args&&... args) {
    constexpr std::size_t piece = NodeArena::kNodeHeader + sizeof(T);
    static_assert(piece <= UINT16_MAX, "a node's piece size is kept in 16 bits");
    if (!arena) return make<T>(std::forward<Args>(args)...);
    char* header = static_cast<char*>(arena->allocate(piece));
    *reinterpret_cast<NodeArena**>(header) = arena;
    void* memory = header + NodeArena::kNodeHeader;
    NodeArena::constructing_ = {arena, static_cast<std::uint32_t>(piece), memory};
    T* node;
    try {
        node = ::new (memory) T(std::forward<Args>(args)...);
    } catch (...) {
        NodeArena::constructing_ = {};
        arena->deallocate(header, piece);
        throw;
    }
    // The node took the construction by its address: Node must be its first (and only) base.
    assert(node->arena() == arena);
    ++arena->holds_;
    return Ref<T>(node);
}

} // namespace html
