#pragma once

#include "notara/core/SQLRow.h"

#include <memory>
#include <string>

namespace notara {

/// One highlight with the note attached to it. Identity is the object itself (compare
/// pointers), not `annotationID`. Missing or NULL values are empty texts.
class Annotation {
public:
    Annotation() = default;

    /// Fills the fields from the columns ZANNOTATIONUUID, ZANNOTATIONNOTE,
    /// ZANNOTATIONREPRESENTATIVETEXT, ZANNOTATIONSELECTEDTEXT and ZANNOTATIONLOCATION
    /// (exact, case-sensitive names); other entries are ignored.
    explicit Annotation(const SQLRow& row);

    std::string annotationID;
    /// The reader's note; empty when there is none. The Kindle parser sets it after
    /// construction.
    std::string annotationUserNotes;
    std::string annotationRepText;
    std::string annotationSelectedText;
    /// The location exactly as stored (an EPUB CFI for Books), not parsed.
    std::string annotationLocationRawText;
};

using AnnotationPtr = std::shared_ptr<Annotation>;

} // namespace notara
