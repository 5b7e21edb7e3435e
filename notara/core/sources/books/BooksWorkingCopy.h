#pragma once

#include "notara/core/sources/books/SQLFilePairing.h"

#include <filesystem>
#include <string>

namespace notara {

/// The application's own copies of the two Books stores. The user's files are only read as
/// bytes, never opened with SQLite: closing a connection would fold the write-ahead log into
/// the user's database.
class BooksWorkingCopy {
public:
    BooksWorkingCopy() = delete;

    /// Where the copies of `originals` go inside `workingFolder` (same file names). Absent
    /// fields stay absent.
    static SQLFilePairing pathsFor(const SQLFilePairing& originals,
                                   const std::filesystem::path& workingFolder);

    /// Copies both files, each with its -wal companion when there is one, to `copies`,
    /// first removing earlier copies and their -wal/-shm. A file that already is its copy is
    /// left alone. False at the first failure, with its reason in `problem` (also a report
    /// line); earlier copies may then be gone, and none of what is there may be loaded.
    static bool copy(const SQLFilePairing& originals, const SQLFilePairing& copies, std::string& problem);

    /// Copies one database with its -wal companion, first removing an earlier `copy` and its
    /// -wal/-shm; the original is only read as bytes.
    static bool copyDatabase(const std::filesystem::path& original, const std::filesystem::path& copy,
                             std::string& problem);

    /// Whether `file` begins as an SQLite database does.
    static bool isSQLiteDatabase(const std::filesystem::path& file);

    /// Whether `store` is a database in WAL mode (write versions 2 in its header) with no
    /// -wal file beside it: whatever Books wrote since its last checkpoint is then missing.
    static bool lacksItsLog(const std::filesystem::path& store);
};

} // namespace notara
