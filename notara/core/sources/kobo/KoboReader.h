#pragma once

#include "notara/core/model/Work.h"

#include <filesystem>
#include <string>
#include <vector>

namespace notara {

/// Reads the highlights and notes of a Kobo e-reader's KoboReader.sqlite: one Work per book
/// with annotations (title and author from the book's own row), notes from the annotation
/// column, the chapter from the book's table of contents, the colour where the firmware
/// stores one, hidden (deleted) rows, bookmarks and pen drawings skipped. Works are sorted by
/// title, each one's annotations in reading order.
class KoboReader {
public:
    KoboReader() = delete;

    /// Copies `database` (with its -wal) into `workingFolder` and reads the copy: the device's
    /// file is only ever read as bytes. Empty, with a sentence saying why in `problem`, when the
    /// file cannot be copied, is not a Kobo database, is damaged, or holds no annotation.
    static std::vector<WorkPtr> readFile(const std::filesystem::path& database,
                                         const std::filesystem::path& workingFolder, std::string& problem);

    /// Where this application keeps its copy of a Kobo database; empty when it has no data folder.
    static std::filesystem::path workingFolder();

    /// Reads a database that is already the application's own copy.
    static std::vector<WorkPtr> readCopy(const std::filesystem::path& copy, std::string& problem);
};

} // namespace notara
