// What a Books load says when it cannot do what the user asked: stores copied without their
// logs, folders chosen one level too deep, copies that fail.

#include "notara/core/model/DataManager.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sources/books/BooksWorkingCopy.h"
#include "notara/tests/TestSupport.h"

#include "corvane/Corvane.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

class LoadProblems : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(corvane::Corvane::appDocumentsPath()); }

    // A library whose every row lives only in the -wal files, as on a Mac while Books runs.
    SQLFilePairing writeRecentOnly(const BooksDataFolder& where) {
        LibraryContent recent;
        recent.books = {{"A1", "Recent", "Writer"}};
        recent.annotations = {highlight("A1", "only in the log")};
        return writeBooksFolder(where, {}, recent);
    }

    // What a Finder copy of the two .sqlite files alone leaves.
    static void dropLogs(const BooksDataFolder& where) {
        for (const fs::path& store : {where.annotationFile, where.libraryFile}) {
            fs::remove(store.native() + "-wal");
            fs::remove(store.native() + "-shm");
        }
    }

    BooksDataFolder folder{freshFolder("Problem Data")};
    DataManager model;
};

} // namespace

TEST_F(LoadProblems, StoresCopiedWithoutTheirLogsAreFlagged) {
    const SQLFilePairing pairing = writeRecentOnly(folder);
    ASSERT_TRUE(model.loadDatabases(pairing));
    EXPECT_FALSE(model.recentHighlightsMayBeMissing());
    EXPECT_EQ(model.works().size(), 1u);

    dropLogs(folder);
    EXPECT_TRUE(BooksWorkingCopy::lacksItsLog(folder.annotationFile));
    ASSERT_TRUE(model.loadDatabases(pairing)); // loads as before: an empty library
    EXPECT_TRUE(model.recentHighlightsMayBeMissing());
    EXPECT_TRUE(model.works().empty());

    // A store in rollback-journal mode has no log to miss.
    const BooksDataFolder rollback(freshFolder("Rollback Data"));
    writeBooksFolder(rollback, {{{"A1", "Old", "Writer"}}, {}});
    for (const fs::path& store : {rollback.annotationFile, rollback.libraryFile}) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    dropLogs(rollback);
    EXPECT_FALSE(BooksWorkingCopy::lacksItsLog(rollback.libraryFile));
    ASSERT_TRUE(model.loadDatabases({rollback.annotationFile, rollback.libraryFile}));
    EXPECT_FALSE(model.recentHighlightsMayBeMissing());
    EXPECT_FALSE(BooksWorkingCopy::lacksItsLog(folder.root / "no such file"));
}

TEST_F(LoadProblems, CommandLineWarnsOnStandardErrorAndStillSucceeds) {
    writeRecentOnly(folder);
    dropLogs(folder);
    const CliRun run = cli({"list", "--books", QString::fromStdString(folder.root.native())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string(DataManager::missingLogMessage) + "\n");
}

TEST_F(LoadProblems, DataDocumentsOrStoreFolderAllLoad) {
    writeBooksFolder(folder, {{{"A1", "Book", "Writer"}}, {highlight("A1", "passage")}});
    for (const fs::path& chosen : {folder.root, folder.root / "Documents"}) {
        const BooksFolder::Choice choice = BooksFolder::choose(chosen, BooksFolder::Remember::No);
        ASSERT_TRUE(choice.complete()) << chosen;
        EXPECT_EQ(choice.missingText(), "");
        ASSERT_TRUE(model.loadDatabases(choice.pairing));
        EXPECT_EQ(model.works().at(0)->annotations.size(), 1u);
    }
    // Both store folders moved somewhere else together.
    const fs::path elsewhere = freshFolder("Two Stores");
    fs::rename(folder.root / "Documents/AEAnnotation", elsewhere / "AEAnnotation");
    fs::rename(folder.root / "Documents/BKLibrary", elsewhere / "BKLibrary");
    EXPECT_TRUE(BooksFolder::choose(elsewhere, BooksFolder::Remember::No).complete());
    const BooksFolder::Choice empty = BooksFolder::choose(folder.root, BooksFolder::Remember::No);
    EXPECT_EQ(empty.missingText(), "Unable to find Annotation Database!\nUnable to find Library Database!");
}

TEST_F(LoadProblems, FailedCopiesAreNeverLoadedAsTheNewFolder) {
    writeBooksFolder(folder, {{{"A1", "First library", "Writer"}}, {highlight("A1", "first")}});
    ASSERT_TRUE(model.loadDatabases({folder.annotationFile, folder.libraryFile}));

    // The second library's stores have the same names; its annotation copy cannot replace the
    // first one's, because something that cannot be removed stands in its place.
    const BooksDataFolder second(freshFolder("Second Data"));
    writeBooksFolder(second, {{{"B1", "Second library", "Writer"}}, {highlight("B1", "second")}});
    const fs::path blocked = *model.annotationSQLFile();
    fs::remove(blocked);
    fs::create_directories(blocked / "inside");
    EXPECT_FALSE(model.loadDatabases({second.annotationFile, second.libraryFile}));
    EXPECT_NE(model.lastLoadProblem().find("Unable to remove"), std::string::npos) << model.lastLoadProblem();
    EXPECT_NE(model.lastLoadProblem().find("Nothing was loaded."), std::string::npos);
    EXPECT_EQ(model.works().at(0)->workTitle, "First library"); // what was shown stays
    // Nor does a later load without new files pick the half-replaced copies up.
    EXPECT_FALSE(model.loadDatabases({}));

    fs::remove_all(blocked);
    ASSERT_TRUE(model.loadDatabases({second.annotationFile, second.libraryFile}));
    EXPECT_EQ(model.works().at(0)->workTitle, "Second library");
    EXPECT_EQ(model.lastLoadProblem(), "");
}

TEST_F(LoadProblems, FilesWithoutTheBooksTablesAreNamed) {
    writeBooksFolder(folder, {{{"A1", "Book", "Writer"}}, {}});
    fs::remove(folder.libraryFile);
    std::ofstream(folder.libraryFile) << "";
    EXPECT_FALSE(model.loadDatabases({folder.annotationFile, folder.libraryFile}));
    EXPECT_EQ(model.lastLoadProblem(),
              "These files are not Apple Books databases: " + folder.libraryFile.filename().native());
}
