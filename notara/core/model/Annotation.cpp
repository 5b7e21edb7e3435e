#include "notara/core/model/Annotation.h"

#include <algorithm>
#include <climits>

namespace notara {

#if defined(__GLIBCXX__) && __SIZEOF_POINTER__ == 8
// With its shared count, one annotation then takes a 416-byte heap block rather than a 432-byte
// one; the Books load of a large library holds 200,000 of them.
static_assert(sizeof(Annotation) <= 392, "Annotation has grown: look at its members' order");
#endif

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

std::optional<std::int32_t> Annotation::locationNumber(std::optional<std::int64_t> number) {
    if (!number) return std::nullopt;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(*number, 0, INT32_MAX));
}

std::string_view Annotation::keyPrefix(KeyForm form) {
    switch (form) {
    case KeyForm::Books: return "books:";
    case KeyForm::Kobo: return "kobo:";
    case KeyForm::Spelled: break;
    }
    return {};
}

std::string Annotation::key() const {
    if (annotationKeyForm == KeyForm::Spelled) return annotationKey;
    return std::string(keyPrefix(annotationKeyForm)) + annotationID;
}

std::string_view Annotation::kindName(Kind kind) {
    return kind == Kind::Note ? "note" : "highlight";
}

} // namespace notara
