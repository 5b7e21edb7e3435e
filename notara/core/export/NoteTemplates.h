#pragma once

#include "notara/core/model/Work.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace notara {

/// The layouts of the notes-folder sync: Mustache templates for a work's file name, for the
/// front matter and header written when the file is made, and for each annotation's block.
/// Built in: "plain", "detailed", "obsidian" and "logseq"; a reader's own live in
/// templates/NAME/ (filename.mustache, header.mustache, annotation.mustache) inside the
/// application's configuration folder, or in any folder given by path.
class NoteTemplates {
public:
    std::string name;
    std::string fileName;
    std::string header;
    std::string annotation;
    /// Where each came from, for error messages ("obsidian/annotation.mustache").
    std::string fileNameOrigin, headerOrigin, annotationOrigin;

    static std::vector<std::string> builtInNames();
    /// A built-in set, a reader's set by name, or a set in the folder `nameOrFolder`. Absent, with
    /// a sentence naming the file and line in `problem`, when it cannot be read or does not parse.
    static std::optional<NoteTemplates> load(const std::string& nameOrFolder, std::string& problem);
    /// The folder of the reader's own sets.
    static std::filesystem::path userFolder();

    /// The texts each template is rendered with: every member of the JSON of `library list` and
    /// a few ready-made forms (the passage quoted, the place, tags as #tags, a block id).
    std::string renderFileName(const Work& work) const;
    std::string renderHeader(const Work& work, const std::string& date) const;
    /// `chapterStart`: the chapter this annotation is the first of in book order, else empty.
    std::string renderAnnotation(const Work& work, const Annotation& annotation,
                                 const std::string& chapterStart = {}) const;

    /// The block id of an annotation: letters and digits only, as Obsidian's ^ids want.
    static std::string blockID(const Annotation& annotation);
};

} // namespace notara
