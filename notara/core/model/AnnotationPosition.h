#pragma once

#include "notara/core/model/DateText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace notara {

/// Where an annotation sits in its book, as keys computed once when it is loaded, so that a
/// work's annotations can be put in book order as often as the user asks without re-reading
/// their locations.
struct AnnotationPosition {
    /// Byte order is reading order (a SortKey): EpubCfi::sortKey for Books, the Kindle
    /// location for a notebook. Empty when the source's location could not be read; such annotations
    /// come after the others.
    std::string key;
    /// The spine item (chapter file) Books stores beside the CFI; breaks ties of equal keys.
    std::optional<std::int32_t> spineIndex;

    /// Strict weak order for a stable sort, with the date highlighted (`createdA`, `createdB`)
    /// breaking the last ties; what it leaves equal keeps the stored order.
    static bool before(const AnnotationPosition& a, const DateText& createdA, const AnnotationPosition& b,
                       const DateText& createdB);

    /// Date order with the unknown dates last.
    static bool createdBefore(const DateText& a, const DateText& b);
};

} // namespace notara
