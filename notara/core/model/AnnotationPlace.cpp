#include "notara/core/model/AnnotationPlace.h"

namespace notara {

std::string AnnotationPlace::text(const Annotation& annotation) {
    std::string place;
    if (!annotation.annotationPage.empty()) place = "Page " + annotation.annotationPage;
    if (annotation.annotationLocation) {
        if (!place.empty()) place += " \xC2\xB7 ";
        place += "Location " + std::to_string(*annotation.annotationLocation);
    }
    return place.empty() ? annotation.annotationChapter : place;
}

std::string AnnotationPlace::createdDay(const Annotation& annotation) {
    const std::string_view created = annotation.annotationCreated.view();
    return std::string(created.substr(0, created.find('T')));
}

} // namespace notara
