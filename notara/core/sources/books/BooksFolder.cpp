#include "notara/core/sources/books/BooksFolder.h"

#include "corvane/FSSandboxBookmarking.h"

namespace fs = std::filesystem;

namespace notara {

namespace {

// The Data folder holds Documents/<store>; the Documents folder, which the folder panel asks
// for, holds <store> itself.
std::optional<fs::path> findStore(const fs::path& folder, std::string_view store) {
    if (auto file = BooksFolder::findSQLiteFile(folder, "Documents/" + std::string(store))) return file;
    return BooksFolder::findSQLiteFile(folder, store);
}

} // namespace

std::string BooksFolder::Choice::missingText() const {
    std::string text;
    if (!pairing.annotationSQLFile) text += "Unable to find Annotation Database!\n";
    if (!pairing.librarySQLFile) text += "Unable to find Library Database!";
    return text;
}

BooksFolder::Choice BooksFolder::choose(const fs::path& folder, Remember remember) {
    using corvane::FSSandboxBookmarking;
    if (remember == Remember::Yes) FSSandboxBookmarking::saveBookmark(folder, folderBookmarkKey);
    Choice choice;
    choice.pairing.annotationSQLFile = findStore(folder, "AEAnnotation");
    choice.pairing.librarySQLFile = findStore(folder, "BKLibrary");
    if (remember == Remember::Yes) {
        if (choice.pairing.annotationSQLFile)
            FSSandboxBookmarking::saveBookmark(*choice.pairing.annotationSQLFile, annotationBookmarkKey);
        if (choice.pairing.librarySQLFile)
            FSSandboxBookmarking::saveBookmark(*choice.pairing.librarySQLFile, libraryBookmarkKey);
    }
    return choice;
}

std::optional<fs::path> BooksFolder::findSQLiteFile(const fs::path& folder, std::string_view subPath) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder / fs::path(subPath),
                                        fs::directory_options::skip_permission_denied, ec);
    if (ec) return std::nullopt;
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path& path = it->path();
        const std::string name = path.filename().native();
        if (!name.empty() && name.front() == '.') {
            it.disable_recursion_pending();
            continue;
        }
        // Only regular files: a folder named x.sqlite is not a database.
        std::error_code typeError;
        if (path.extension() == ".sqlite" && it->is_regular_file(typeError)) return path;
    }
    return std::nullopt;
}

} // namespace notara
