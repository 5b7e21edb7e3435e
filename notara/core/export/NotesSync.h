#pragma once

#include "notara/core/export/NoteTemplates.h"
#include "notara/core/model/Work.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace notara {

class Library;

/// Keeps a folder of Markdown notes in step with the library without overwriting the reader's
/// words: one file per work, found again by the work's id in its front matter wherever the
/// reader moved or renamed it; each annotation a block between two marker comments, with an id
/// of its own. A sync inserts new annotations between their neighbours in book order, rewrites a
/// block only when it is exactly as the last sync wrote it, marks blocks of annotations removed
/// at source, leaves everything outside the blocks byte for byte and does not touch a file
/// when nothing of it changed. Blocks and files the reader deleted stay deleted unless restored.
class NotesSync {
public:
    struct Options {
        std::filesystem::path folder;
        NoteTemplates templates;
        bool dryRun = false;
        bool restore = false;
        /// Called after each work with the works done and their total.
        std::function<void(std::size_t, std::size_t)> progress;
    };

    struct Report {
        std::size_t filesWritten = 0;
        std::size_t newFiles = 0;
        std::size_t added = 0;
        std::size_t editsKept = 0;
        std::size_t removed = 0;
        /// "12 files written, 3 new files, 240 highlights added, 3 edits kept, 1 removed at source".
        std::string text() const;
    };

    /// Syncs `works` (works of the library) into the folder. False with `problem` when the folder
    /// or the library cannot be written; what was written before the failure stays consistent.
    static bool run(Library& library, const std::vector<WorkPtr>& works, const Options& options,
                    Report& report, std::string& problem);

    /// The marker lines around a block.
    static std::string beginMarker(const std::string& id);
    static std::string endMarker(const std::string& id);
};

} // namespace notara
