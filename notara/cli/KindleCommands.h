#pragma once

#include "notara/core/export/BulkExport.h"
#include "notara/core/model/Work.h"

#include <filesystem>
#include <ostream>

namespace notara::cli {

/// The command-line side of a Kindle Notebook export: one file, one work.
class KindleCommands {
public:
    KindleCommands() = delete;

    /// The work of the export `file`, or null after a message on `err` (the parser's own
    /// report line says why when the file could not be read).
    static WorkPtr importNotebook(const std::filesystem::path& file, std::ostream& err);

    /// Writes the export's annotations as Markdown into `folder` and prints the path written.
    /// Returns the exit status: 1 when nothing could be imported, the work has no annotations
    /// or the file could not be written.
    static int exportNotebook(const std::filesystem::path& file, const std::filesystem::path& folder,
                              BulkExport::Options options, std::ostream& out, std::ostream& err);
};

} // namespace notara::cli
