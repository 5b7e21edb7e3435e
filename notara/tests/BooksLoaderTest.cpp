#include "notara/core/model/DataManager.h"
#include "notara/tests/TestSupport.h"

#include "corvane/Corvane.h"
#include "corvane/tests/ReportCapture.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

std::vector<std::string> titles(const std::vector<WorkPtr>& works) {
    std::vector<std::string> result;
    for (const auto& work : works)
        result.push_back(work->workTitle);
    return result;
}

std::vector<std::string> passages(const Work& work) {
    std::vector<std::string> result;
    for (const auto& annotation : work.annotations)
        result.push_back(annotation->annotationSelectedText);
    return result;
}

const Work& titled(const DataManager& model, std::string_view title) {
    for (const auto& work : model.works()) {
        if (work->workTitle == title) return *work;
    }
    throw std::runtime_error("no work titled " + std::string(title));
}

class BooksLoader : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(corvane::Corvane::appDocumentsPath()); }
    BooksDataFolder folder{freshFolder("Books Data")};
    DataManager model;
};

} // namespace

TEST_F(BooksLoader, LoadsEveryBookSortedByTitleWithItsLiveHighlights) {
    LibraryContent content;
    content.books = {
        {"B1", "b", "Author b"},      {"B2", "B", "Author B", "dsid"},
        {"B3", "a", std::nullopt},    {"B4", "e\xCC\x81tude", "nfd"}, // decomposed é: sorts as é, after f
        {"B5", "f", "no highlights"}, {"B6", std::nullopt, "no title"}};
    AnnotationRow withNote = highlight("B3", "first line\nsecond line", "my note");
    withNote.representativeText = "around it";
    AnnotationRow noText = highlight("B3", "x", "a note without a passage");
    noText.selectedText = std::nullopt;
    AnnotationRow emptyText = highlight("B3", "", "note");
    AnnotationRow position = highlight("B3", "y");
    position.selectedText = std::nullopt;
    position.type = 3;
    AnnotationRow deleted = highlight("B3", "deleted passage");
    deleted.deleted = 1;
    content.annotations = {withNote,
                           noText,
                           emptyText,
                           position,
                           deleted,
                           highlight("B1", "in b"),
                           highlight("B3", "later"),
                           highlight("ORPHAN", "book removed from the library"),
                           highlight("B4", "accented")};
    const auto pairing = writeBooksFolder(folder, content);

    ASSERT_TRUE(model.loadDatabases(pairing));
    EXPECT_EQ(titles(model.works()), (std::vector<std::string>{"", "B", "a", "b", "f", "e\xCC\x81tude"}));
    EXPECT_EQ(titles(model.filteredWorks()), titles(model.works()));

    const Work& a = titled(model, "a");
    EXPECT_EQ(a.workID, "B3");
    EXPECT_EQ(a.workAuthor, "");
    EXPECT_EQ(passages(a), (std::vector<std::string>{"first line\nsecond line", "later"}));
    const Annotation& first = *a.annotations[0];
    EXPECT_EQ(first.annotationID, "UUID-first line\nsecond line");
    EXPECT_EQ(first.annotationUserNotes, "my note");
    EXPECT_EQ(first.annotationRepText, "around it");
    EXPECT_EQ(first.annotationLocationRawText, withNote.location);
    EXPECT_EQ(titled(model, "B").downloadedStatus, "dsid");
    EXPECT_EQ(passages(titled(model, "b")), std::vector<std::string>{"in b"});

    model.applyHideRule(true);
    EXPECT_EQ(titles(model.filteredWorks()), (std::vector<std::string>{"a", "b", "e\xCC\x81tude"}));
    EXPECT_EQ(model.filteredWorks()[0], model.works()[2]) << "the same objects, not copies";
    model.applyHideRule(false);
    EXPECT_EQ(model.filteredWorks(), model.works());
}

TEST_F(BooksLoader, AssetIDsAreDataNotSQL) {
    LibraryContent content;
    content.books = {{"it's", "Quoted", "A"},
                     {"x' OR '1'='1", "Injected", "A"},
                     {"plain", "Plain", "A"},
                     {"", "No id", "A"},
                     {"plain", "Plain again", "A"}};
    content.annotations = {highlight("", "empty id"), highlight("it's", "quoted highlight"),
                           highlight("plain", "plain highlight")};
    ASSERT_TRUE(model.loadDatabases(writeBooksFolder(folder, content)));
    EXPECT_EQ(passages(titled(model, "Quoted")), std::vector<std::string>{"quoted highlight"});
    EXPECT_TRUE(titled(model, "Injected").annotations.empty());
    EXPECT_EQ(passages(titled(model, "Plain")), std::vector<std::string>{"plain highlight"});
    EXPECT_EQ(passages(titled(model, "No id")), std::vector<std::string>{"empty id"});
    // Two library rows for one asset: each has the highlight, as an object of its own.
    ASSERT_EQ(passages(titled(model, "Plain again")), std::vector<std::string>{"plain highlight"});
    EXPECT_NE(titled(model, "Plain again").annotations[0], titled(model, "Plain").annotations[0]);
}

TEST_F(BooksLoader, HighlightsOnlyInTheLogAreLoadedAndTheOriginalsStayUntouched) {
    LibraryContent content;
    content.books = {{"OLD", "Old book", "A"}};
    content.annotations = {highlight("OLD", "checkpointed")};
    LibraryContent recent;
    recent.books = {{"NEW", "New book", "A"}};
    recent.annotations = {highlight("NEW", "only in the log"), highlight("OLD", "recent on old book")};
    const auto pairing = writeBooksFolder(folder, content, recent);
    ASSERT_TRUE(fs::exists(fs::path(folder.annotationFile.native() + "-wal")));
    const auto before = snapshot(folder.root);

    ASSERT_TRUE(model.loadDatabases(pairing));
    EXPECT_EQ(passages(titled(model, "New book")), std::vector<std::string>{"only in the log"});
    EXPECT_EQ(passages(titled(model, "Old book")),
              (std::vector<std::string>{"checkpointed", "recent on old book"}));
    EXPECT_EQ(snapshot(folder.root), before);
    EXPECT_EQ(model.annotationSQLFile()->parent_path(), fs::path(corvane::Corvane::appDocumentsPath()));
}

TEST_F(BooksLoader, LeftoverLogBesideTheWorkingCopyIsNotApplied) {
    // An earlier copy left the old log beside the working copy; since then Books folded it
    // into its file and deleted the highlight.
    LibraryContent content;
    content.books = {{"A1", "Book", "A"}};
    content.annotations = {highlight("A1", "kept")};
    LibraryContent recent;
    recent.annotations = {highlight("A1", "deleted later")};
    const auto pairing = writeBooksFolder(folder, content, recent);
    const fs::path working = corvane::Corvane::appDocumentsPath();
    fs::copy_file(folder.annotationFile.native() + "-wal",
                  working / (folder.annotationFile.filename().native() + "-wal"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.annotationFile.c_str(), &db), SQLITE_OK);
    sqlite3_exec(
        db, "UPDATE ZAEANNOTATION SET ZANNOTATIONDELETED = 1 WHERE ZANNOTATIONSELECTEDTEXT = 'deleted later'",
        nullptr, nullptr, nullptr);
    sqlite3_close(db); // folds the log into the file and removes it
    ASSERT_FALSE(fs::exists(folder.annotationFile.native() + "-wal"));

    ASSERT_TRUE(model.loadDatabases(pairing));
    EXPECT_EQ(passages(titled(model, "Book")), std::vector<std::string>{"kept"});
}

TEST_F(BooksLoader, EachLoadMakesNewWorksAndAFailedCheckKeepsTheOldOnes) {
    LibraryContent content;
    content.books = {{"A1", "Book", "A"}};
    content.annotations = {highlight("A1", "passage")};
    const auto pairing = writeBooksFolder(folder, content);
    ASSERT_TRUE(model.loadDatabases(pairing));
    const WorkPtr first = model.works().at(0);

    std::vector<std::pair<DataManager::Change, size_t>> told;
    model.addFilteredWorksObserver(
        [&](DataManager::Change change) { told.emplace_back(change, model.filteredWorks().size()); });
    ASSERT_TRUE(model.loadDatabases(pairing));
    ASSERT_EQ(model.works().size(), 1u);
    EXPECT_NE(model.works()[0], first);
    EXPECT_NE(model.works()[0]->id, first->id);
    EXPECT_EQ(model.filteredWorks()[0], model.works()[0]);
    // A work of the old load still held elsewhere (a view's selection) keeps its annotations.
    ASSERT_EQ(first->annotations.size(), 1u);
    EXPECT_EQ(first->annotations[0]->annotationSelectedText, "passage");
    using Change = DataManager::Change;
    // Cleared, then published; each time told before the list changes.
    EXPECT_EQ(told, (std::vector<std::pair<Change, size_t>>{{Change::WillAssign, 1},
                                                            {Change::DidAssign, 0},
                                                            {Change::WillAssign, 0},
                                                            {Change::DidAssign, 1}}));

    // A pair whose annotation file is not an annotation store: nothing changes.
    const WorkPtr second = model.works()[0];
    const BooksDataFolder other(freshFolder("Not Books"));
    {
        BooksStore library(other.libraryFile, BooksStore::Kind::Library);
        BooksStore wrong(other.annotationFile, BooksStore::Kind::Library);
    }
    told.clear();
    SQLFilePairing wrongPairing{other.annotationFile, other.libraryFile};
    EXPECT_FALSE(model.loadDatabases(wrongPairing));
    EXPECT_EQ(model.works(), std::vector<WorkPtr>{second});
    EXPECT_EQ(model.filteredWorks(), std::vector<WorkPtr>{second});
    EXPECT_TRUE(told.empty());
}

// A store large enough to be read in two halves at once: every live highlight once, each work's
// in row order across the join, rows only in the log included, tombstones and other books' rows
// left out, and a work whose asset id two library rows share given its own copies.
TEST_F(BooksLoader, ALargeStoreReadInTwoHalvesKeepsRowOrder) {
    constexpr int rows = 45000;
    {
        BooksStore library(folder.libraryFile, BooksStore::Kind::Library);
        BooksStore annotations(folder.annotationFile, BooksStore::Kind::Annotations);
        library.addBook({"A", "Alpha", "X"});
        library.addBook({"B", "Beta", "Y"});
        library.addBook({"B", "Beta again", "Y"});
        annotations.exec("BEGIN");
        for (int i = 0; i < rows; ++i) {
            AnnotationRow row = highlight(i % 3 == 0 ? "A" : i % 3 == 1 ? "B" : "Z", std::to_string(i));
            row.deleted = i % 10 == 5 ? 1 : 0;
            annotations.addAnnotation(row);
            if (i == rows - 200) {
                annotations.exec("COMMIT");
                annotations.checkpoint();
                annotations.exec("BEGIN");
            }
        }
        annotations.exec("COMMIT");
        library.closeKeepingLog();
        annotations.closeKeepingLog();
    }
    ASSERT_TRUE(model.loadDatabases({folder.annotationFile, folder.libraryFile}));
    std::vector<std::string> alpha, beta;
    for (int i = 0; i < rows; ++i) {
        if (i % 10 == 5) continue;
        if (i % 3 == 0) alpha.push_back(std::to_string(i));
        if (i % 3 == 1) beta.push_back(std::to_string(i));
    }
    EXPECT_EQ(passages(titled(model, "Alpha")), alpha);
    EXPECT_EQ(passages(titled(model, "Beta")), beta);
    EXPECT_EQ(passages(titled(model, "Beta again")), beta);
    EXPECT_NE(titled(model, "Beta").annotations[0], titled(model, "Beta again").annotations[0]);
}

TEST_F(BooksLoader, FindsOnlyRegularFilesWithTheExactExtension) {
    const fs::path annotations = folder.root / "Documents/AEAnnotation";
    EXPECT_EQ(DataManager::findSQLiteFile(folder.root, "Documents/AEAnnotation"), std::nullopt);
    fs::create_directories(annotations / "folder.sqlite");
    fs::create_directories(annotations / ".hidden");
    std::ofstream(annotations / "upper.SQLITE") << "x";
    std::ofstream(annotations / "log.sqlite-wal") << "x";
    std::ofstream(annotations / "index.sqlite-shm") << "x";
    std::ofstream(annotations / ".dot.sqlite") << "x";
    std::ofstream(annotations / ".hidden/inside.sqlite") << "x";
    EXPECT_EQ(DataManager::findSQLiteFile(folder.root, "Documents/AEAnnotation"), std::nullopt);

    fs::create_directories(annotations / "nested");
    std::ofstream(annotations / "nested/store.sqlite") << "x";
    EXPECT_EQ(DataManager::findSQLiteFile(folder.root, "Documents/AEAnnotation"),
              annotations / "nested/store.sqlite");
}
