#include "notara/core/export/MarkdownExport.h"

#include "notara/core/model/AnnotationPlace.h"

namespace notara {

namespace {

// "> " and the passage, each further line of it prefixed ">" (no line feed at the end).
void appendQuote(std::string& text, std::string_view passage) {
    text += "> ";
    for (char c : passage) {
        text += c;
        if (c == '\n') text += '>';
    }
}

} // namespace

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
            appendQuote(text, annotation->annotationSelectedText);
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

namespace {

// A YAML double-quoted scalar: backslash, quote and control characters escaped.
void appendYamlString(std::string& out, std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    out += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
}

// A chapter title on one heading line.
std::string oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line;
}

} // namespace

std::string MarkdownExport::detailedMarkdown(const Work& work, const std::vector<AnnotationPtr>& annotations,
                                             std::string_view exportedDate) {
    std::string text = "---\ntitle: ";
    appendYamlString(text, work.workTitle);
    text += "\nauthor: ";
    appendYamlString(text, work.workAuthor);
    text += "\nsource: ";
    appendYamlString(text, work.workSource);
    text += "\nexported: ";
    text += exportedDate;
    text += "\nannotations: " + std::to_string(annotations.size()) + "\n---\n\n";
    text += "# " + work.workTitle + "\n**Author**: " + work.workAuthor + "\n\n";

    const std::string* chapter = nullptr;
    for (const auto& annotation : annotations) {
        if (!annotation->annotationChapter.empty() &&
            (!chapter || *chapter != annotation->annotationChapter)) {
            text += "## " + oneLine(annotation->annotationChapter) + "\n\n";
        }
        chapter = &annotation->annotationChapter;
        if (!annotation->annotationSelectedText.empty()) {
            appendQuote(text, annotation->annotationSelectedText);
            text += "\n\n";
        }
        // Page and location only: the chapter is the heading above.
        std::string details;
        auto add = [&details](const std::string& part) {
            if (part.empty()) return;
            if (!details.empty()) details += " \xC2\xB7 ";
            details += part;
        };
        if (!annotation->annotationPage.empty() || annotation->annotationLocation)
            add(AnnotationPlace::text(*annotation));
        add(annotation->annotationColor);
        add(AnnotationPlace::createdDay(*annotation));
        if (!details.empty()) text += "*" + details + "*\n\n";
        if (!annotation->annotationUserNotes.empty()) text += annotation->annotationUserNotes + "\n\n";
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
