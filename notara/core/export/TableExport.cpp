#include "notara/core/export/TableExport.h"

#include "notara/core/model/AnnotationPlace.h"

namespace notara {

namespace {

// A field in double quotes when it holds a separator, a quote or a line break, quotes doubled.
void appendField(std::string& out, std::string_view field, char separator) {
    if (field.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string joined(const std::vector<std::string>& texts, std::string_view separator) {
    std::string out;
    for (const std::string& text : texts)
        out += (out.empty() ? "" : std::string(separator)) + text;
    return out;
}

} // namespace

std::string TableExport::csv(const std::vector<WorkPtr>& works) {
    std::string out = "title,author,passage,note,chapter,page,location,colour,created,tags,sources\r\n";
    for (const WorkPtr& work : works) {
        for (const AnnotationPtr& a : work->annotations) {
            const AnnotationInLibrary* kept = a->annotationLibrary.get();
            const std::string fields[] = {work->workTitle,
                                          work->workAuthor,
                                          a->annotationSelectedText,
                                          a->annotationUserNotes,
                                          a->annotationChapter,
                                          a->annotationPage,
                                          a->annotationLocation ? std::to_string(*a->annotationLocation) : "",
                                          a->annotationColor,
                                          a->annotationCreated.str(),
                                          kept ? joined(kept->tags, ", ") : "",
                                          kept ? joined(kept->sources, ", ") : work->workSource};
            for (std::size_t i = 0; i < std::size(fields); ++i) {
                if (i > 0) out += ',';
                appendField(out, fields[i], ',');
            }
            out += "\r\n";
        }
    }
    return out;
}

std::string TableExport::anki(const std::vector<WorkPtr>& works) {
    std::string out = "#separator:tab\n#html:false\n#columns:Front\tBack\n";
    for (const WorkPtr& work : works) {
        for (const AnnotationPtr& a : work->annotations) {
            const std::string front =
                a->annotationSelectedText.empty() ? a->annotationUserNotes : a->annotationSelectedText;
            std::string back = work->workTitle;
            if (!work->workAuthor.empty()) back += " \u2014 " + work->workAuthor;
            if (const std::string place = AnnotationPlace::text(*a); !place.empty()) back += "\n" + place;
            if (!a->annotationSelectedText.empty() && !a->annotationUserNotes.empty())
                back += "\n\n" + a->annotationUserNotes;
            appendField(out, front, '\t');
            out += '\t';
            appendField(out, back, '\t');
            out += '\n';
        }
    }
    return out;
}

} // namespace notara
