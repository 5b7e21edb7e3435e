#include "notara/core/model/AnnotationOrder.h"

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
            return AnnotationPosition::createdBefore(a->annotationCreated, b->annotationCreated);
        });
        break;
    }
    return result;
}

namespace {

constexpr std::string_view names[] = {"stored", "book", "created"}; // in Order's order

} // namespace

std::optional<AnnotationOrder::Order> AnnotationOrder::fromName(std::string_view name) {
    for (size_t i = 0; i < std::size(names); ++i) {
        if (names[i] == name) return static_cast<Order>(i);
    }
    return std::nullopt;
}

std::string_view AnnotationOrder::name(Order order) {
    return names[static_cast<size_t>(order)];
}

} // namespace notara
