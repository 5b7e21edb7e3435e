#include "notara/core/AnnotationOrder.h"

#include <algorithm>

namespace notara {

std::vector<AnnotationPtr> AnnotationOrder::sorted(const std::vector<AnnotationPtr>& annotations,
                                                   Order order) {
    std::vector<AnnotationPtr> result = annotations;
    switch (order) {
    case Order::Stored: break;
    case Order::Book:
        std::stable_sort(result.begin(), result.end(), [](const AnnotationPtr& a, const AnnotationPtr& b) {
            return AnnotationPosition::before(a->annotationPosition, a->annotationCreated,
                                              b->annotationPosition, b->annotationCreated);
        });
        break;
    case Order::Created:
        // The ISO 8601 texts of one form sort as their dates do.
        std::stable_sort(result.begin(), result.end(), [](const AnnotationPtr& a, const AnnotationPtr& b) {
            if (a->annotationCreated.empty() || b->annotationCreated.empty())
                return !a->annotationCreated.empty() && b->annotationCreated.empty();
            return a->annotationCreated < b->annotationCreated;
        });
        break;
    }
    return result;
}

std::optional<AnnotationOrder::Order> AnnotationOrder::fromName(std::string_view name) {
    if (name == "stored") return Order::Stored;
    if (name == "book") return Order::Book;
    if (name == "created") return Order::Created;
    return std::nullopt;
}

} // namespace notara
