#pragma once

#include <atomic>
#include <cstddef>
#include <utility>

namespace notara {

/// An immutable value shared by many holders, held through one pointer: half of a
/// std::shared_ptr, which matters in an object a library holds hundreds of thousands of. The count
/// is atomic, so holders may live on different threads; the value itself is never changed.
template <class T> class SharedConst {
public:
    SharedConst() = default;
    SharedConst(std::nullptr_t) {}
    explicit SharedConst(T value) : block_(new Block{std::move(value)}) {}

    SharedConst(const SharedConst& other) : block_(other.block_) {
        if (block_) block_->count.fetch_add(1, std::memory_order_relaxed);
    }
    SharedConst(SharedConst&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    SharedConst& operator=(SharedConst other) noexcept {
        std::swap(block_, other.block_);
        return *this;
    }
    ~SharedConst() {
        if (block_ && block_->count.fetch_sub(1, std::memory_order_acq_rel) == 1) delete block_;
    }

    const T* get() const { return block_ ? &block_->value : nullptr; }
    const T& operator*() const { return block_->value; }
    const T* operator->() const { return &block_->value; }
    explicit operator bool() const { return block_ != nullptr; }
    friend bool operator==(const SharedConst& a, std::nullptr_t) { return a.block_ == nullptr; }

private:
    struct Block {
        T value;
        std::atomic<std::size_t> count{1};
    };
    Block* block_ = nullptr;
};

} // namespace notara
