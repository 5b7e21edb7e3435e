#include "notara/core/MarkdownExport.h"

namespace notara {

std::string MarkdownExport::markdown(const Work& work) {
    size_t size = work.workTitle.size() + work.workAuthor.size() + 32;
    for (const auto& annotation : work.annotations) {
        size += annotation->annotationSelectedText.size() + annotation->annotationUserNotes.size() + 16;
    }
    std::string text;
    text.reserve(size);
    text += "# ";
    text += work.workTitle;
    text += "\n**Author**: ";
    text += work.workAuthor;
    text += "\n\n";
    for (const auto& annotation : work.annotations) {
        text += "> ";
        for (char c : annotation->annotationSelectedText) {
            text += c;
            if (c == '\n') text += '>';
        }
        if (!annotation->annotationUserNotes.empty()) {
            text += "\n\n";
            text += annotation->annotationUserNotes;
        }
        text += "\n---\n";
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
