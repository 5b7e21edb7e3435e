#include "html/nodes/NodeArena.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#if defined(__linux__) && !defined(NOTARA_HTML_ARENA_CHECKED)
#include <sys/mman.h>
#define NOTARA_HTML_ARENA_LARGE_PAGES 1
#endif

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

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

#ifdef NOTARA_HTML_ARENA_LARGE_PAGES
// Large blocks a freed tree gave back, kept for the next parse of the process: memory it has
// touched already costs no page faults again. At most kKept blocks (32 MiB), shared by threads.
struct KeptBlocks {
    static constexpr std::size_t kKept = 16;
    std::mutex mutex;
    void* blocks[kKept] = {};
    std::size_t count = 0;
};

KeptBlocks& keptBlocks() {
    static auto* kept = new KeptBlocks(); // never destroyed: a tree may go during exit
    return *kept;
}
#endif

// A block of a large parse: mapped on a large-page boundary and offered to the kernel for large
// pages, so that a fresh process touching its tree takes one page fault per 2 MiB instead of one
// per 4 KiB (on a virtual machine the faults were most of the time of a parse in a new process).
// Null when the system will not map it; the caller falls back to the heap.
void* mapLargeBlock(std::size_t size) {
#ifdef NOTARA_HTML_ARENA_LARGE_PAGES
    if (size == kLargePage) {
        KeptBlocks& kept = keptBlocks();
        const std::lock_guard lock(kept.mutex);
        if (kept.count > 0) return kept.blocks[--kept.count];
    }
    const auto map = [](std::size_t bytes) {
        void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return mapped == MAP_FAILED ? nullptr : mapped;
    };
    // The kernel often places a mapping of this size on the boundary already.
    void* mapped = map(size);
    if (!mapped) return nullptr;
    if ((reinterpret_cast<std::uintptr_t>(mapped) & (kLargePage - 1)) == 0) {
        ::madvise(mapped, size, MADV_HUGEPAGE);
        return mapped;
    }
    ::munmap(mapped, size);
    const std::size_t span = size + kLargePage;
    mapped = map(span);
    if (!mapped) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
    if (aligned > start) ::munmap(mapped, aligned - start);
    if (const std::uintptr_t tail = start + span - (aligned + size); tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
#else
    (void)size;
    return nullptr;
#endif
}

void unmapLargeBlock(void* block, std::size_t size) noexcept {
#ifdef NOTARA_HTML_ARENA_LARGE_PAGES
    if (size == kLargePage) {
        KeptBlocks& kept = keptBlocks();
        const std::lock_guard lock(kept.mutex);
        if (kept.count < KeptBlocks::kKept) {
            kept.blocks[kept.count++] = block;
            return;
        }
    }
    ::munmap(block, size);
#else
    (void)block;
    (void)size;
#endif
}

} // namespace

void NodeArena::releaseKeptBlocks() noexcept {
#ifdef NOTARA_HTML_ARENA_LARGE_PAGES
    KeptBlocks& kept = keptBlocks();
    const std::lock_guard lock(kept.mutex);
    while (kept.count > 0)
        ::munmap(kept.blocks[--kept.count], kLargePage);
#endif
}

Ref<NodeArena> NodeArena::create(std::size_t firstBlock) {
    // At most half a large block first: a tree that needs little more than the hint wastes less of
    // its last block.
    return Ref<NodeArena>(new NodeArena(std::clamp<std::size_t>(firstBlock, 512, kBiggestBlock / 2)));
}

NodeArena::~NodeArena() {
    while (blocks_) {
        Block* next = blocks_->next;
        if (blocks_->mapped)
            unmapLargeBlock(blocks_, blocks_->size);
        else
            std::free(blocks_);
        blocks_ = next;
    }
}

void* NodeArena::carve(std::size_t bytes) {
    if (static_cast<std::size_t>(limit_ - cursor_) < bytes) {
        // The rest of the old block is left unused: at most kLargest bytes.
        const std::size_t size = std::max(nextBlock_, bytes + sizeof(Block));
        void* memory = size == kBiggestBlock ? mapLargeBlock(size) : nullptr;
        const bool mapped = memory != nullptr;
        if (!memory) memory = std::malloc(size);
        if (!memory) throw std::bad_alloc();
        auto* block = static_cast<Block*>(memory);
        block->mapped = mapped;
        block->size = size;
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
