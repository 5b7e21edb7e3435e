#pragma once

#include "notara/core/sources/books/SQLFilePairing.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace notara {

/// A folder the user chose as the Books app's data: finds its two stores and remembers the
/// choice. The window and the command line both go through here.
class BooksFolder {
public:
    BooksFolder() = delete;

    /// What a chosen folder holds.
    struct Choice {
        SQLFilePairing pairing;
        /// Both stores were found, so the pairing can be loaded.
        bool complete() const { return pairing.annotationSQLFile && pairing.librarySQLFile; }
        /// The window's alert text for what is missing ("Unable to find Annotation
        /// Database!\n", "Unable to find Library Database!"); empty when complete.
        std::string missingText() const;
    };

    enum class Remember { No, Yes };

    /// Looks for the stores in `folder`: the Data folder (Documents/AEAnnotation and
    /// Documents/BKLibrary below it), the Documents folder itself or any folder holding
    /// AEAnnotation and BKLibrary. With Remember::Yes, bookmarks the folder ("iBooks
    /// Directory") and each store found ("Books Annotation", "Books Library").
    static Choice choose(const std::filesystem::path& folder, Remember remember);

    /// The first regular file with the extension "sqlite" (exactly, case-sensitive) found by
    /// a recursive, unsorted walk of folder/subPath that skips hidden entries; absent when
    /// the folder does not exist or holds none. Companions (-wal, -shm) never match.
    static std::optional<std::filesystem::path> findSQLiteFile(const std::filesystem::path& folder,
                                                               std::string_view subPath);

    static constexpr const char* folderBookmarkKey = "iBooks Directory";
    static constexpr const char* annotationBookmarkKey = "Books Annotation";
    static constexpr const char* libraryBookmarkKey = "Books Library";
};

} // namespace notara
