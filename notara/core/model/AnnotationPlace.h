#pragma once

#include "notara/core/model/Annotation.h"

#include <string>

namespace notara {

/// Where an annotation is, in the words a reader looks for it with.
class AnnotationPlace {
public:
    AnnotationPlace() = delete;

    /// "Page 77 · Location 805" when the source prints pages or locations (Kindle), else the
    /// chapter (Books); empty when the source tells nothing.
    static std::string text(const Annotation& annotation);

    /// The date part of annotationCreated ("2021-11-02"); empty when unknown.
    static std::string createdDay(const Annotation& annotation);
};

} // namespace notara
