#pragma once

#include "notara/core/model/Work.h"
#include "notara/core/sources/books/SQLFilePairing.h"

#include <filesystem>
#include <vector>

namespace notara {

/// Reads the two Books stores (working copies, never the user's files) into Works and
/// Annotations.
class BooksStoreReader {
public:
    BooksStoreReader() = delete;

    /// Whether the copies hold ZAEANNOTATION and ZBKLIBRARYASSET.
    static bool holdsBooksTables(const SQLFilePairing& copies);

    /// Which of the copies lack their table (absent ones count as lacking it).
    struct TableCheck {
        bool annotationsFound = false;
        bool libraryFound = false;
    };
    static TableCheck checkTables(const SQLFilePairing& copies);

    /// Every row of ZBKLIBRARYASSET with a title column as a new Work, sorted by title (code
    /// points after canonical normalisation, case-sensitive, stable).
    static std::vector<WorkPtr> readWorks(const std::filesystem::path& libraryFile);

    /// Appends to each of `works` its live highlights (rows with its asset id and non-empty
    /// selected text that are not marked deleted), in row order, with their context (colour,
    /// chapter, dates, book-order keys) from the columns the store has.
    static void readAnnotations(const std::filesystem::path& annotationFile,
                                const std::vector<WorkPtr>& works);
};

} // namespace notara
