#include "notara/core/Annotation.h"

namespace notara {

Annotation::Annotation(const SQLRow& row) {
    for (const auto& [column, text] : row) {
        if (column == "ZANNOTATIONUUID")
            annotationID = text;
        else if (column == "ZANNOTATIONNOTE")
            annotationUserNotes = text;
        else if (column == "ZANNOTATIONREPRESENTATIVETEXT")
            annotationRepText = text;
        else if (column == "ZANNOTATIONSELECTEDTEXT")
            annotationSelectedText = text;
        else if (column == "ZANNOTATIONLOCATION")
            annotationLocationRawText = text;
    }
}

} // namespace notara
