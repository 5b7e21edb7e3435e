#include "notara/core/BooksWorkingCopy.h"

#include "corvane/Report.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace notara {

namespace {

bool failed(std::string& problem, std::string text) {
    corvane::Report::line(text);
    problem = std::move(text);
    return false;
}

// Removes `path` if it exists.
bool removeIfPresent(const fs::path& path, std::string& problem) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) return failed(problem, "Unable to remove \"" + path.native() + "\": " + ec.message());
    return true;
}

bool copyFile(const fs::path& from, const fs::path& to, std::string& problem) {
    std::error_code ec;
    fs::copy_file(from, to, ec);
    if (ec) {
        return failed(problem,
                      "Unable to copy \"" + from.native() + "\" to \"" + to.native() + "\": " + ec.message());
    }
    return true;
}

fs::path withSuffix(const fs::path& path, std::string_view suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

} // namespace

SQLFilePairing BooksWorkingCopy::pathsFor(const SQLFilePairing& originals, const fs::path& workingFolder) {
    SQLFilePairing copies;
    if (originals.annotationSQLFile)
        copies.annotationSQLFile = workingFolder / originals.annotationSQLFile->filename();
    if (originals.librarySQLFile)
        copies.librarySQLFile = workingFolder / originals.librarySQLFile->filename();
    return copies;
}

bool BooksWorkingCopy::copy(const SQLFilePairing& originals, const SQLFilePairing& copies,
                            std::string& problem) {
    if (!originals.annotationSQLFile || !originals.librarySQLFile || !copies.annotationSQLFile ||
        !copies.librarySQLFile)
        return failed(problem, "Unable to copy the databases: both files are needed");
    return copyDatabase(*originals.annotationSQLFile, *copies.annotationSQLFile, problem) &&
           copyDatabase(*originals.librarySQLFile, *copies.librarySQLFile, problem);
}

bool BooksWorkingCopy::copyDatabase(const fs::path& original, const fs::path& copy, std::string& problem) {
    std::error_code ec;
    if (fs::equivalent(original, copy, ec)) return true;
    // A -wal or -shm left by an earlier copy would be applied to the new copy and corrupt it;
    // SQLite rebuilds the -shm index itself.
    if (!removeIfPresent(copy, problem) || !removeIfPresent(withSuffix(copy, "-wal"), problem) ||
        !removeIfPresent(withSuffix(copy, "-shm"), problem))
        return false;
    // Recent changes may live only in the write-ahead log, so it travels with its file.
    if (!copyFile(original, copy, problem)) return false;
    const fs::path log = withSuffix(original, "-wal");
    return !fs::is_regular_file(log, ec) || copyFile(log, withSuffix(copy, "-wal"), problem);
}

bool BooksWorkingCopy::lacksItsLog(const fs::path& store) {
    std::ifstream in(store, std::ios::binary);
    char header[20] = {};
    if (!in.read(header, sizeof header)) return false;
    static constexpr char magic[] = "SQLite format 3";
    const bool isSQLite = std::equal(magic, magic + sizeof magic, header); // with its NUL
    const bool walMode = header[18] == 2 && header[19] == 2;
    std::error_code ec;
    return isSQLite && walMode && !fs::exists(withSuffix(store, "-wal"), ec);
}

} // namespace notara
