#include "notara/core/sources/books/BooksWorkingCopy.h"

#include "corvane/Report.h"

#include <array>
#include <fstream>
#include <optional>
#include <string_view>

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

namespace {

// The first bytes of `file` when it is an SQLite database (they begin with the format's magic).
std::optional<std::array<char, 20>> sqliteHeader(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 20> header{};
    if (!in.read(header.data(), header.size())) return std::nullopt;
    static constexpr std::string_view magic("SQLite format 3\0", 16);
    if (std::string_view(header.data(), magic.size()) != magic) return std::nullopt;
    return header;
}

} // namespace

bool BooksWorkingCopy::isSQLiteDatabase(const fs::path& file) {
    return sqliteHeader(file).has_value();
}

bool BooksWorkingCopy::lacksItsLog(const fs::path& store) {
    const auto header = sqliteHeader(store);
    const bool walMode = header && (*header)[18] == 2 && (*header)[19] == 2;
    std::error_code ec;
    return walMode && !fs::exists(withSuffix(store, "-wal"), ec);
}

} // namespace notara
