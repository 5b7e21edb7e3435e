#pragma once

#include "html/nodes/NodeArena.h"

#include <cstddef>
#include <type_traits>

namespace html {

// A standard allocator over a NodeArena (or the system allocator when the arena is null), for the
// containers a parsed node owns. A copy of such a container goes to the heap, and assignment keeps
// each container's own arena, so that nothing outside a node ends up living in its arena.
template <class T> class ArenaAllocator {
public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::false_type;
    using propagate_on_container_move_assignment = std::false_type;
    using propagate_on_container_swap = std::false_type;
    using is_always_equal = std::false_type;

    ArenaAllocator() noexcept = default;
    explicit ArenaAllocator(NodeArena* arena) noexcept : arena_(arena) {}
    template <class U> ArenaAllocator(const ArenaAllocator<U>& other) noexcept : arena_(other.arena()) {}

    T* allocate(std::size_t n) { return static_cast<T*>(NodeArena::allocateIn(arena_, n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { NodeArena::deallocateIn(arena_, p, n * sizeof(T)); }

    ArenaAllocator select_on_container_copy_construction() const noexcept { return {}; }
    NodeArena* arena() const noexcept { return arena_; }

    template <class U> bool operator==(const ArenaAllocator<U>& other) const noexcept {
        return arena_ == other.arena();
    }

private:
    NodeArena* arena_ = nullptr;
};

} // namespace html
