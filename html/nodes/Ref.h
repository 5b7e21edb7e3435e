#pragma once

#include <cstddef>
#include <utility>

namespace html {

// Intrusive, non-atomic reference: a tree lives on one thread, and keeping the count inside the
// object keeps every node small. T must be usable with the free functions refRetain(T*) and
// refRelease(T*), found by argument-dependent lookup.
template <class T> class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* p) noexcept : p_(p) {
        if (p_) refRetain(p_);
    }
    Ref(const Ref& o) noexcept : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U> Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
    template <class U> Ref(Ref<U>&& o) noexcept : p_(static_cast<T*>(o.release())) {}
    ~Ref() {
        if (p_) refRelease(p_);
    }

    Ref& operator=(const Ref& o) noexcept {
        Ref(o).swap(*this);
        return *this;
    }
    Ref& operator=(Ref&& o) noexcept {
        Ref(std::move(o)).swap(*this);
        return *this;
    }
    Ref& operator=(T* p) noexcept {
        Ref(p).swap(*this);
        return *this;
    }

    void swap(Ref& o) noexcept { std::swap(p_, o.p_); }
    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    // No conversion to a plain pointer: one taken from a temporary Ref would dangle. get()
    // when a plain pointer is needed, for as long as the Ref lives.
    explicit operator bool() const noexcept { return p_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }
    friend bool operator==(const Ref& a, const T* b) noexcept { return a.p_ == b; }

    // Hands the counted pointer over without releasing it.
    T* release() noexcept { return std::exchange(p_, nullptr); }

private:
    T* p_ = nullptr;
};

// Creates a counted object: make<Element>(Tag::valueOf("div"), "").
template <class T, class... Args> Ref<T> make(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

} // namespace html
