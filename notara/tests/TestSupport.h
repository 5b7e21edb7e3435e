#pragma once

#include "notara/core/sources/books/SQLFilePairing.h"
#include "notara/tests/BooksStore.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace notara::test {

struct LibraryContent {
    std::vector<BookRow> books;
    std::vector<AnnotationRow> annotations;
};

/// Writes both stores into `folder` as Books lays them out; rows in `recent` are written
/// after a checkpoint and left only in the -wal files.
inline SQLFilePairing writeBooksFolder(const BooksDataFolder& folder, const LibraryContent& content,
                                       const LibraryContent& recent = {}) {
    BooksStore library(folder.libraryFile, BooksStore::Kind::Library);
    BooksStore annotations(folder.annotationFile, BooksStore::Kind::Annotations);
    for (const auto& book : content.books)
        library.addBook(book);
    for (const auto& annotation : content.annotations)
        annotations.addAnnotation(annotation);
    if (recent.books.empty() && recent.annotations.empty()) {
        library.close();
        annotations.close();
    } else {
        library.checkpoint();
        annotations.checkpoint();
        for (const auto& book : recent.books)
            library.addBook(book);
        for (const auto& annotation : recent.annotations)
            annotations.addAnnotation(annotation);
        library.closeKeepingLog();
        annotations.closeKeepingLog();
    }
    SQLFilePairing pairing;
    pairing.annotationSQLFile = folder.annotationFile;
    pairing.librarySQLFile = folder.libraryFile;
    return pairing;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

/// Every file below `root` with its bytes, to prove a folder was left untouched.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        files[entry.path().native()] = entry.is_regular_file() ? readFile(entry.path()) : "<folder>";
    }
    return files;
}

/// A fresh folder under the test program's temporary home.
inline std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(std::getenv("HOME")) / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

/// A highlight in book `assetID`; its uuid is made from the text.
inline AnnotationRow highlight(std::string assetID, std::string text,
                               std::optional<std::string> note = std::nullopt) {
    AnnotationRow row;
    row.assetID = std::move(assetID);
    row.selectedText = std::move(text);
    row.note = std::move(note);
    row.uuid = "UUID-" + *row.selectedText;
    return row;
}

/// One run of the command-line tool: its exit code (-1 if it crashed) and what it printed.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliRun cli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(NOTARA_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

/// A Kindle notebook export kept with the tests.
inline std::filesystem::path kindleSample(const char* name) {
    const char* root = std::getenv("NOTARA_SOURCE_DIR");
    const std::filesystem::path base =
        root ? std::filesystem::path(root) / "notara/tests" : std::filesystem::path(__FILE__).parent_path();
    return base / "data/kindle" / name;
}

} // namespace notara::test
