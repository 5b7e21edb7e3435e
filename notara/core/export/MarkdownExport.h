#pragma once

#include "notara/core/model/Work.h"

#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// The Markdown text of a work and the name of its export file.
class MarkdownExport {
public:
    MarkdownExport() = delete;

    /// "# title", "**Author**: author", an empty line, then per annotation "> passage"
    /// (further passage lines prefixed ">"), the note between empty lines when there is
    /// one (a lone note without the quote), and "---". Texts are written verbatim; lines end
    /// in a line feed.
    static std::string markdown(const Work& work);
    /// The same with the work's annotations in the order given.
    static std::string markdown(const Work& work, const std::vector<AnnotationPtr>& annotations);

    /// The detailed layout: YAML front matter (title, author, source, exported, annotations),
    /// the plain header, a "## " heading whenever the chapter changes, and per annotation the
    /// quoted passage, a line with its place, colour and date, the note as its own paragraph
    /// and "---", each block apart so that CommonMark reads them as written.
    static std::string detailedMarkdown(const Work& work, const std::vector<AnnotationPtr>& annotations,
                                        std::string_view exportedDate);

    /// "<date>-<title>-Annotations.md", with " (n)" before "-Annotations.md" when
    /// `copyNumber` > 1. "/" and NUL in the title become "-", and the title is shortened
    /// (at a character boundary) so the whole name fits in 255 bytes.
    static std::string fileName(std::string_view title, std::string_view date, int copyNumber = 1);

    /// The longest file name the file systems we write to accept, in bytes.
    static constexpr size_t maxFileNameBytes = 255;
};

} // namespace notara
