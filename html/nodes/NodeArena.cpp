#include "html/nodes/NodeArena.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef NOTARA_HTML_ARENA_CHECKED
#include <sanitizer/asan_interface.h>
#define ARENA_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define ARENA_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define ARENA_POISON(p, n) ((void)(p), (void)(n))
#define ARENA_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace html {

thread_local NodeArena::Construction NodeArena::constructing_{};

Ref<NodeArena> NodeArena::create(std::size_t firstBlock) {
    return Ref<NodeArena>(new NodeArena(std::clamp<std::size_t>(firstBlock, 512, kBiggestBlock)));
}

NodeArena::~NodeArena() {
    while (blocks_) {
        Block* next = blocks_->next;
        std::free(blocks_);
        blocks_ = next;
    }
}

void* NodeArena::carve(std::size_t bytes) {
    if (static_cast<std::size_t>(limit_ - cursor_) < bytes) {
        // The rest of the old block is left unused: at most kLargest bytes.
        const std::size_t size = std::max(nextBlock_, bytes + sizeof(Block));
        auto* block = static_cast<Block*>(std::malloc(size));
        if (!block) throw std::bad_alloc();
        block->next = blocks_;
        blocks_ = block;
        reserved_ += size;
        cursor_ = reinterpret_cast<char*>(block) + sizeof(Block);
        limit_ = reinterpret_cast<char*>(block) + size;
        ARENA_POISON(cursor_, static_cast<std::size_t>(limit_ - cursor_));
        nextBlock_ = std::min(nextBlock_ * 2, kBiggestBlock);
    }
    void* p = cursor_;
    cursor_ += bytes;
    ARENA_UNPOISON(p, bytes);
    return p;
}

void* NodeArena::heapAllocate(std::size_t bytes) {
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return p;
}

void* NodeArena::allocateSlow(std::size_t bytes) {
    if (bytes > kLargest) return heapAllocate(bytes);
    const std::size_t size = rounded(bytes);
    void*& head = free_[size / kGrain];
    if (head) {
        void* p = head;
        ARENA_UNPOISON(p, size);
        std::memcpy(&head, p, sizeof head);
        return p;
    }
    return carve(size);
}

void NodeArena::deallocateSlow(void* p, std::size_t bytes) noexcept {
    if (!p) return;
    if (bytes > kLargest) {
        std::free(p);
        return;
    }
    const std::size_t size = rounded(bytes);
    void*& head = free_[size / kGrain];
    std::memcpy(p, &head, sizeof head);
    head = p;
    ARENA_POISON(p, size);
}

void* NodeArena::reallocateIn(NodeArena* arena, void* p, std::size_t oldBytes, std::size_t newBytes) {
    if (!arena || (oldBytes > kLargest && newBytes > kLargest)) {
        // Both on the system allocator: it may grow in place.
        void* grown = std::realloc(p, newBytes);
        if (!grown) throw std::bad_alloc();
        return grown;
    }
    void* fresh = arena->allocate(newBytes);
    if (p) {
        std::memcpy(fresh, p, std::min(oldBytes, newBytes));
        arena->deallocate(p, oldBytes);
    }
    return fresh;
}

} // namespace html
