#include "notara/core/MarkdownExport.h"

namespace notara {

std::string MarkdownExport::markdown(const Work& work) {
    return markdown(work, work.annotations);
}

std::string MarkdownExport::markdown(const Work& work, const std::vector<AnnotationPtr>& annotations) {
    size_t size = work.workTitle.size() + work.workAuthor.size() + 32;
    for (const auto& annotation : annotations) {
        size += annotation->annotationSelectedText.size() + annotation->annotationUserNotes.size() + 16;
    }
    std::string text;
    text.reserve(size);
    text += "# ";
    text += work.workTitle;
    text += "\n**Author**: ";
    text += work.workAuthor;
    text += "\n\n";
    for (const auto& annotation : annotations) {
        const std::string& note = annotation->annotationUserNotes;
        // A lone note has no passage to quote.
        if (!annotation->annotationSelectedText.empty() || note.empty()) {
            text += "> ";
            for (char c : annotation->annotationSelectedText) {
                text += c;
                if (c == '\n') text += '>';
            }
            text += note.empty() ? "\n" : "\n\n";
        }
        // The empty line after a note keeps "---" a thematic break: right below a paragraph it
        // would turn that paragraph into a heading.
        if (!note.empty()) {
            text += note;
            text += "\n\n";
        }
        text += "---\n";
    }
    return text;
}

std::string MarkdownExport::fileName(std::string_view title, std::string_view date, int copyNumber) {
    std::string suffix;
    if (copyNumber > 1) suffix = " (" + std::to_string(copyNumber) + ")";
    suffix += "-Annotations.md";

    std::string name(date);
    name += '-';
    const size_t room =
        maxFileNameBytes > name.size() + suffix.size() ? maxFileNameBytes - name.size() - suffix.size() : 0;
    size_t keep = std::min(room, title.size());
    // Never cut inside a UTF-8 sequence: step back over continuation bytes.
    if (keep < title.size()) {
        while (keep > 0 && (static_cast<unsigned char>(title[keep]) & 0xC0) == 0x80)
            --keep;
    }
    for (char c : title.substr(0, keep))
        name += (c == '/' || c == '\0') ? '-' : c;
    name += suffix;
    return name;
}

} // namespace notara
