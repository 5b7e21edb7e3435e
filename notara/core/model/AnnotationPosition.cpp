#include "notara/core/model/AnnotationPosition.h"

namespace notara {

namespace {

// Present values in order, then the absent ones; nullopt when that decides nothing.
template <class T> std::optional<bool> presentFirst(const std::optional<T>& a, const std::optional<T>& b) {
    if (a && b) {
        if (*a == *b) return std::nullopt;
        return *a < *b;
    }
    if (a.has_value() == b.has_value()) return std::nullopt;
    return a.has_value();
}

} // namespace

bool AnnotationPosition::before(const AnnotationPosition& a, const DateText& createdA,
                                const AnnotationPosition& b, const DateText& createdB) {
    if (a.key.empty() || b.key.empty()) return !a.key.empty() && b.key.empty();
    if (const int order = a.key.compare(b.key); order != 0) return order < 0;
    if (auto decided = presentFirst(a.spineIndex, b.spineIndex)) return *decided;
    return createdBefore(createdA, createdB);
}

bool AnnotationPosition::createdBefore(const DateText& a, const DateText& b) {
    if (a.empty() || b.empty()) return !a.empty() && b.empty();
    return a < b;
}

} // namespace notara
