#pragma once

#include "notara/core/model/Annotation.h"

#include <optional>
#include <string_view>
#include <vector>

namespace notara {

/// The orders a work's annotations can be shown and exported in. `Stored` is the source's own
/// order and the default everywhere.
class AnnotationOrder {
public:
    enum class Order { Stored, Book, Created };

    AnnotationOrder() = delete;

    /// A stable sort of `annotations` (the list itself is left as it is). Book: by
    /// AnnotationPosition. Created: by the date highlighted, those without a date last.
    static std::vector<AnnotationPtr> sorted(const std::vector<AnnotationPtr>& annotations, Order order);

    /// "stored", "book" or "created"; absent for anything else.
    static std::optional<Order> fromName(std::string_view name);
    static std::string_view name(Order order);
};

} // namespace notara
