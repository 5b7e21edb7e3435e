#pragma once

#include <filesystem>
#include <optional>

namespace notara {

/// The two Apple Books database files, as found in a chosen folder or restored from
/// bookmarks. Either may be absent.
struct SQLFilePairing {
    /// AEAnnotation*.sqlite (table ZAEANNOTATION).
    std::optional<std::filesystem::path> annotationSQLFile;
    /// BKLibrary*.sqlite (table ZBKLIBRARYASSET).
    std::optional<std::filesystem::path> librarySQLFile;
};

} // namespace notara
