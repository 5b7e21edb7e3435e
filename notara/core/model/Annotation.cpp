#include "notara/core/model/Annotation.h"

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

namespace notara {

Annotation::Annotation(std::string id, std::string passage, std::string note)
    : annotationID(std::move(id)), annotationUserNotes(std::move(note)), annotationRepText(passage),
      annotationSelectedText(std::move(passage)) {
    if (annotationSelectedText.empty() && !annotationUserNotes.empty()) annotationKind = Kind::Note;
}

std::string_view Annotation::kindName(Kind kind) {
    return kind == Kind::Note ? "note" : "highlight";
}

} // namespace notara
