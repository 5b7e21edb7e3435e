// The reader's library: merging sources in, re-reading them, the same Kindle book from two
// files, the reader's marks, schema updates, files it must not write, and a process killed
// in the middle of an add.

#include "notara/core/library/Library.h"
#include "notara/core/model/ContentHash.h"
#include "notara/core/search/LibrarySearch.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/Sources.h"
#include "notara/core/sources/clippings/ClippingsReader.h"
#include "notara/tests/BooksStore.h"
#include "notara/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <fstream>
#include <random>
#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

std::string clipping(const std::string& book, const std::string& meta, const std::string& text) {
    return book + "\r\n- " + meta + " | Added on Monday, July 13, 2015 4:06:30 AM\r\n\r\n" + text +
           "\r\n==========\r\n";
}

fs::path writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Fixture {
    fs::path folder;
    fs::path libraryFile;
    std::unique_ptr<Library> library;

    explicit Fixture(const std::string& name)
        : folder(freshFolder(name)), libraryFile(folder / "library.sqlite") {
        reopen();
    }
    void reopen() {
        library.reset();
        std::string problem;
        library = Library::open(libraryFile, problem);
        EXPECT_TRUE(library) << problem;
    }
    Library::Counts add(SourceKind kind, const fs::path& place) {
        SourceRead read = Sources::read(kind, place);
        // As `library add` does it: the files' hash taken before the read is kept with it.
        if (const auto probe = Sources::probe(kind, place)) read.filesFingerprint = probe->filesFingerprint;
        EXPECT_TRUE(read.ok()) << read.problem;
        Library::Counts counts;
        std::string problem;
        EXPECT_TRUE(library->add(read, counts, problem)) << problem;
        return counts;
    }
    std::vector<WorkPtr> works(bool hideRemoved = false) const { return library->works(hideRemoved); }
};

std::vector<std::string> passages(const Work& work) {
    std::vector<std::string> texts;
    for (const auto& a : work.annotations)
        texts.push_back(a->annotationSelectedText.empty() ? "note: " + a->annotationUserNotes
                                                          : a->annotationSelectedText);
    return texts;
}

std::string counts(const Library::Counts& c) {
    return c.text();
}

// One row count of the library file, read without the class under test.
long long countRows(const fs::path& file, const std::string& table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + table).c_str(), -1, &statement, nullptr);
    const long long count = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

} // namespace

TEST(Library, MergesNewChangedRemovedAndUnchangedAnnotations) {
    Fixture f("library-merge");
    const std::string book = "Nightwork (Ren Sato)";
    const std::string one = clipping(book, "Your Highlight on Location 10-12", "First passage.");
    const std::string two = clipping(book, "Your Highlight on Location 20-22", "Second passage.");
    const std::string three = clipping(book, "Your Highlight on Location 30-31", "Third passage.");
    const fs::path file = writeFile(f.folder / "device/My Clippings.txt", one + two + three);
    const auto before = snapshot(f.folder / "device");

    EXPECT_EQ(counts(f.add(SourceKind::Clippings, file)),
              "3 new, 0 changed, 0 removed at source, 0 unchanged");
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, file)),
              "0 new, 0 changed, 0 removed at source, 3 unchanged");
    EXPECT_EQ(snapshot(f.folder / "device"), before); // only ever read

    // A note added later to the second highlight, the third gone from the file.
    writeFile(file, one + two + clipping(book, "Your Note on Location 22", "Mine."));
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, file)),
              "0 new, 1 changed, 1 removed at source, 1 unchanged");
    auto works = f.works();
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(passages(*works[0]),
              (std::vector<std::string>{"First passage.", "Second passage.", "Third passage."}));
    EXPECT_EQ(works[0]->annotations[1]->annotationUserNotes, "Mine.");
    ASSERT_TRUE(works[0]->annotations[2]->annotationLibrary);
    EXPECT_FALSE(works[0]->annotations[2]->annotationLibrary->removedAtSource.empty());
    EXPECT_TRUE(works[0]->annotations[0]->annotationLibrary->removedAtSource.empty());
    EXPECT_EQ(passages(*f.works(true)[0]), (std::vector<std::string>{"First passage.", "Second passage."}));

    // Listed again: back, not a second copy. A moved copy of the file is the same source.
    writeFile(f.folder / "elsewhere/clips.txt",
              one + two + three + clipping(book, "Your Note on Location 22", "Mine."));
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, f.folder / "elsewhere/clips.txt")),
              "0 new, 1 changed, 0 removed at source, 2 unchanged");
    EXPECT_EQ(f.library->sources().size(), 1u);
    EXPECT_EQ(f.works()[0]->annotations.size(), 3u);
    EXPECT_EQ(f.library->sources()[0].place, (f.folder / "elsewhere/clips.txt").string());

    // Another device's file (another first clipping) is another source.
    const fs::path other = writeFile(f.folder / "other/My Clippings.txt",
                                     clipping(book, "Your Highlight on Location 40-41", "Fourth."));
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, other)),
              "1 new, 0 changed, 0 removed at source, 0 unchanged");
    EXPECT_EQ(f.library->sources().size(), 2u);
    ASSERT_EQ(f.works().size(), 1u);
    EXPECT_EQ(f.works()[0]->workSources.size(), 2u);
}

TEST(Library, BooksRowsKeepTheirIdentityAndTheStoresAreOnlyRead) {
    Fixture f("library-books");
    const BooksDataFolder data(f.folder / "Data");
    // The second highlight only in the -wal file, as a copy of a running Books leaves it.
    writeBooksFolder(data,
                     {{{"A1", "Salt Roads", "Lena Hart"}, {"A2", "Empty Book", "Nobody"}},
                      {highlight("A1", "The road ran on.")}},
                     {{}, {highlight("A1", "Salt on the wind.", "a note")}});
    const auto before = snapshot(data.root);
    EXPECT_EQ(counts(f.add(SourceKind::Books, data.root)),
              "2 new, 0 changed, 0 removed at source, 0 unchanged");
    EXPECT_EQ(snapshot(data.root), before);

    // Files byte for byte as at the add: known without reading them, only the time seen noted.
    const auto probe = Sources::probe(SourceKind::Books, data.root);
    ASSERT_TRUE(probe);
    Library::Counts kept;
    EXPECT_TRUE(f.library->keepIfUnchanged(SourceKind::Books, *probe, data.root, kept));
    EXPECT_EQ(counts(kept), "0 new, 0 changed, 0 removed at source, 2 unchanged");
    EXPECT_EQ(snapshot(data.root), before);
    EXPECT_FALSE(f.library->keepIfUnchanged(
        SourceKind::Books, SourceProbe{probe->key, probe->filesFingerprint + 1, {}}, data.root, kept));
    EXPECT_FALSE(f.library->keepIfUnchanged(SourceKind::Kobo, *probe, data.root, kept));

    // The same rows with a note changed: one change, found by the row's id.
    fs::remove_all(data.root);
    writeBooksFolder(data, {{{"A1", "Salt Roads", "Lena Hart"}}, {highlight("A1", "The road ran on.")}},
                     {{}, {highlight("A1", "Salt on the wind.", "changed")}});
    const auto changed = Sources::probe(SourceKind::Books, data.root);
    ASSERT_TRUE(changed);
    EXPECT_NE(changed->filesFingerprint, probe->filesFingerprint);
    EXPECT_FALSE(f.library->keepIfUnchanged(SourceKind::Books, *changed, data.root, kept)); // must be read
    EXPECT_EQ(counts(f.add(SourceKind::Books, data.root)),
              "0 new, 1 changed, 0 removed at source, 1 unchanged");
    const auto works = f.works();
    const auto salt =
        std::find_if(works.begin(), works.end(), [](auto& w) { return w->workTitle == "Salt Roads"; });
    ASSERT_NE(salt, works.end());
    EXPECT_EQ((*salt)->annotations[1]->annotationUserNotes, "changed");
    EXPECT_EQ((*salt)->workID, "A1");
    EXPECT_EQ((*salt)->workSources, (std::vector<std::string>{"Apple Books"}));
}

// A listing large enough to pass through several of the reading thread's blocks, one passage
// larger than a block: every field comes back as it went in, in order, and the removed ones
// stay out when asked.
TEST(Library, ALargeListingComesBackFieldForField) {
    Fixture f("library-large");
    SourceRead read;
    read.key = "store";
    read.name = "Apple Books";
    std::mt19937 random(7);
    for (int w = 0; w < 30; ++w) {
        auto work = std::make_shared<Work>("Title " + std::to_string(100 + w), "Author");
        work->workKey = "W" + std::to_string(w);
        for (int i = 0; i < 100; ++i) {
            const std::string id = work->workKey + "-" + std::to_string(i);
            std::string passage(200 + random() % 600, 'a' + static_cast<char>(random() % 26));
            if (w == 7 && i == 3) passage.assign(700 * 1024, 'x');
            auto a = std::make_shared<Annotation>(id, passage, i % 3 ? "" : "note " + id);
            a->annotationKeyForm = Annotation::KeyForm::Books;
            if (i % 4 == 0) a->annotationRepText = "around " + passage.substr(0, 50);
            a->annotationLocationRawText = "epubcfi(/6/" + std::to_string(i) + ")";
            a->annotationColor = i % 2 ? "yellow" : "";
            a->annotationChapter = "Chapter " + std::to_string(i / 10);
            a->annotationPage = std::to_string(i);
            if (i % 5) a->annotationLocation = i * 10;
            a->annotationCreated = DateText("2021-11-01T09:24:45Z");
            a->annotationPosition.key = std::string("\0\1", 2) + id;
            if (i % 6) a->annotationPosition.spineIndex = i;
            work->annotations.push_back(a);
        }
        read.works.push_back(work);
    }
    SourceKeys::fingerprint(read);
    Library::Counts counts;
    std::string problem;
    ASSERT_TRUE(f.library->add(read, counts, problem)) << problem;
    const auto same = [](const Annotation& a, const Annotation& b) {
        return a.key() == b.key() && a.annotationID == b.annotationID &&
               a.annotationSelectedText == b.annotationSelectedText &&
               a.annotationRepText == b.annotationRepText && a.annotationUserNotes == b.annotationUserNotes &&
               a.annotationLocationRawText == b.annotationLocationRawText &&
               a.annotationColor == b.annotationColor && a.annotationChapter == b.annotationChapter &&
               a.annotationPage == b.annotationPage && a.annotationLocation == b.annotationLocation &&
               a.annotationCreated.view() == b.annotationCreated.view() &&
               a.annotationPosition.key == b.annotationPosition.key &&
               a.annotationPosition.spineIndex == b.annotationPosition.spineIndex &&
               a.annotationKind == b.annotationKind;
    };
    auto works = f.works();
    ASSERT_EQ(works.size(), 30u);
    for (std::size_t w = 0; w < works.size(); ++w) {
        ASSERT_EQ(works[w]->annotations.size(), 100u);
        for (std::size_t i = 0; i < 100; ++i)
            ASSERT_TRUE(same(*works[w]->annotations[i], *read.works[w]->annotations[i])) << w << " " << i;
    }

    // The second read lists every other annotation of the first work no longer.
    SourceRead again = read;
    again.works[0] = std::make_shared<Work>(*read.works[0]);
    std::erase_if(again.works[0]->annotations,
                  [](const AnnotationPtr& a) { return a->annotationID.back() % 2; });
    SourceKeys::fingerprint(again);
    ASSERT_TRUE(f.library->add(again, counts, problem)) << problem;
    EXPECT_EQ(counts.removed, 50u);
    works = f.works();
    EXPECT_EQ(works[0]->annotations.size(), 100u);
    EXPECT_FALSE(works[0]->annotations[1]->annotationLibrary->removedAtSource.empty());
    EXPECT_TRUE(works[0]->annotations[2]->annotationLibrary->removedAtSource.empty());
    works = f.works(true);
    EXPECT_EQ(works[0]->annotations.size(), 50u);
    EXPECT_EQ(works[1]->annotations.size(), 100u);
}

// A damaged store can list one row id twice; the key may be held spelled out or as the id
// behind its kind's prefix, and is the same key either way.
TEST(Library, AKeyListedTwiceInOneReadIsOneAnnotation) {
    Fixture f("library-twice");
    SourceRead read;
    read.key = "store";
    read.name = "Apple Books";
    auto work = std::make_shared<Work>("Salt Roads", "Lena Hart");
    work->workKey = "A1";
    for (const char* passage : {"The road ran on.", "The road ran on, and on."}) {
        work->annotations.push_back(std::make_shared<Annotation>("U1", passage, ""));
        work->annotations.back()->annotationKeyForm = Annotation::KeyForm::Books;
    }
    work->annotations[1]->annotationKeyForm = Annotation::KeyForm::Spelled;
    work->annotations[1]->annotationKey = "books:U1";
    read.works.push_back(work);
    // And one work twice, under another title the second time: still the one work.
    auto copy = std::make_shared<Work>("Salt Roads, again", "Lena Hart");
    copy->workKey = "A1";
    copy->annotations.push_back(std::make_shared<Annotation>("U2", "Salt on the wind.", ""));
    copy->annotations.back()->annotationKeyForm = Annotation::KeyForm::Books;
    read.works.push_back(copy);
    SourceKeys::fingerprint(read);
    Library::Counts added;
    std::string problem;
    ASSERT_TRUE(f.library->add(read, added, problem)) << problem;
    EXPECT_EQ(counts(added), "2 new, 1 changed, 0 removed at source, 0 unchanged");
    const auto works = f.works();
    ASSERT_EQ(works.size(), 1u);
    ASSERT_EQ(works[0]->annotations.size(), 2u);
    EXPECT_EQ(works[0]->annotations[0]->annotationSelectedText, "The road ran on, and on.");
    EXPECT_EQ(works[0]->annotations[0]->key(), "books:U1");
}

TEST(Library, OneKindleBookFromANotebookAndMyClippingsIsOneWork) {
    Fixture f("library-kindle");
    const fs::path notebook = writeFile(
        f.folder / "notebook.html",
        "<div class=bookTitle>Nightwork</div><div class=authors>Ren Sato</div>"
        "<div class=noteHeading>Highlight (yellow) - Location 10</div><div class=noteText>She walked the\n"
        "last mile.</div>"
        "<div class=noteHeading>Highlight (blue) - Location 30</div><div class=noteText>Only in the "
        "notebook.</div>");
    const fs::path clippings = writeFile(
        f.folder / "My Clippings.txt",
        clipping("NIGHTWORK (Ren Sato)", "Your Highlight on Location 10-11", "She walked the last mile.") +
            clipping("NIGHTWORK (Ren Sato)", "Your Highlight on Location 50-51", "Only on the device."));
    EXPECT_EQ(counts(f.add(SourceKind::KindleNotebook, notebook)),
              "2 new, 0 changed, 0 removed at source, 0 unchanged");
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, clippings)),
              "1 new, 0 changed, 0 removed at source, 1 unchanged");
    const auto works = f.works();
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(works[0]->workSources.size(), 2u);
    ASSERT_EQ(works[0]->annotations.size(), 3u);
    EXPECT_EQ(works[0]->annotations[0]->annotationLibrary->sources.size(), 2u);
    // One search over both sources finds what each gave.
    const auto found = LibrarySearch::filter(works, "only");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(passages(*found[0]),
              (std::vector<std::string>{"Only in the notebook.", "Only on the device."}));

    // Forgetting the device takes only what it alone gave.
    const auto device = f.library->findSource("Kindle (My Clippings.txt)");
    ASSERT_TRUE(device);
    EXPECT_EQ(f.library->annotationsOnlyFrom(device->id), 1u);
    std::string problem;
    ASSERT_TRUE(f.library->forget(device->id, problem)) << problem;
    ASSERT_EQ(f.works().size(), 1u);
    EXPECT_EQ(f.works()[0]->annotations.size(), 2u);
    EXPECT_EQ(f.works()[0]->workSources.size(), 1u);
    const auto book = f.library->findSource(f.library->sources().front().name);
    ASSERT_TRUE(f.library->forget(book->id, problem));
    EXPECT_TRUE(f.works().empty());
    EXPECT_EQ(countRows(f.libraryFile, "annotation_source"), 0);
}

// A passage's identity does not depend on how its source wraps it: whatever white space it holds
// gives the key of its collapsed form (the form most passages are already in).
TEST(SourceKeys, PassageKeysIgnoreHowThePassageIsWrapped) {
    const auto keyOf = [](const std::string& passage) {
        return SourceKeys::passageKey("kindle", "work", Annotation("id", passage, ""));
    };
    const std::string plain = keyOf("She walked the last mile, ¿no? — twice.");
    for (const char* wrapped :
         {"She walked  the last mile, ¿no? — twice.", " She walked the last mile, ¿no? — twice.",
          "She walked the\nlast mile,\t¿no? — twice.\r\n", "She\fwalked the last\vmile, ¿no? — twice."})
        EXPECT_EQ(keyOf(wrapped), plain) << wrapped;
    EXPECT_NE(keyOf("She walked the last mile, ¿no? — twice"), plain);
    EXPECT_NE(keyOf("Shewalked the last mile, ¿no? — twice."), plain);
}

TEST(Library, FavouritesAndTagsSurviveReimportsAndRemovalsAndAreSearched) {
    Fixture f("library-marks");
    const std::string book = "Nightwork (Ren Sato)";
    const std::string one = clipping(book, "Your Highlight on Location 10-12", "Quiet harbour lights.");
    const std::string two = clipping(book, "Your Highlight on Location 20-22", "A loud harbour.");
    const fs::path file = writeFile(f.folder / "My Clippings.txt", one + two);
    f.add(SourceKind::Clippings, file);
    auto works = f.works();
    const std::string first = works[0]->annotations[0]->key();
    const std::string second = works[0]->annotations[1]->key();
    std::string problem;
    ASSERT_TRUE(f.library->setFavourite(first, true, problem)) << problem;
    ASSERT_TRUE(f.library->setTags(second, {"Sea", "later", "Sea"}, problem)) << problem;

    writeFile(file, one + clipping(book, "Your Highlight on Location 40-41", "New harbour."));
    EXPECT_EQ(counts(f.add(SourceKind::Clippings, file)),
              "1 new, 0 changed, 1 removed at source, 1 unchanged");
    works = f.works();
    ASSERT_EQ(works[0]->annotations.size(), 3u);
    EXPECT_TRUE(works[0]->annotations[0]->annotationLibrary->favourite);
    EXPECT_EQ(works[0]->annotations[1]->annotationLibrary->tags, (std::vector<std::string>{"Sea", "later"}));

    const auto only = [](const std::vector<WorkPtr>& found) {
        std::vector<std::string> texts;
        for (const auto& w : found)
            for (const auto& text : passages(*w))
                texts.push_back(text);
        return texts;
    };
    EXPECT_EQ(only(LibrarySearch::filter(works, "is:favourite")),
              (std::vector<std::string>{"Quiet harbour lights."}));
    EXPECT_EQ(only(LibrarySearch::filter(works, "tag:sea harbour")),
              (std::vector<std::string>{"A loud harbour."}));
    EXPECT_EQ(only(LibrarySearch::filter(works, "harbour")).size(), 3u);
    EXPECT_TRUE(LibrarySearch::filter(works, "tag:sea is:favorite").empty());
    EXPECT_TRUE(LibrarySearch::filter(works, "tag:sea lights").empty());
}

TEST(Library, AVersionOneFileIsMigratedAfterACopyIsKept) {
    const fs::path folder = freshFolder("library-migrate");
    const fs::path file = folder / "library.sqlite";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    // The first layout, as the first release wrote it.
    const char* versionOne = R"sql(
        CREATE TABLE source(id INTEGER PRIMARY KEY, kind TEXT NOT NULL, key TEXT NOT NULL, name TEXT NOT NULL,
            place TEXT NOT NULL, added TEXT NOT NULL, last_read TEXT NOT NULL, fingerprint INTEGER NOT NULL,
            UNIQUE(kind, key));
        CREATE TABLE work(id INTEGER PRIMARY KEY, uid TEXT NOT NULL UNIQUE, match_key TEXT NOT NULL,
            title TEXT NOT NULL, author TEXT NOT NULL, first_seen INTEGER NOT NULL);
        CREATE INDEX work_by_match_key ON work(match_key);
        CREATE TABLE work_source(source_id INTEGER NOT NULL REFERENCES source(id) ON DELETE CASCADE,
            key TEXT NOT NULL, work_id INTEGER NOT NULL REFERENCES work(id) ON DELETE CASCADE,
            asset_id TEXT NOT NULL, downloaded TEXT NOT NULL, origin TEXT NOT NULL,
            PRIMARY KEY(source_id, key)) WITHOUT ROWID;
        CREATE INDEX work_source_by_work ON work_source(work_id);
        CREATE TABLE annotation(id INTEGER PRIMARY KEY, work_id INTEGER NOT NULL REFERENCES work(id) ON DELETE CASCADE,
            key_hash INTEGER NOT NULL UNIQUE, key_form INTEGER NOT NULL, key_text TEXT, original_id TEXT NOT NULL,
            kind INTEGER NOT NULL, selected TEXT NOT NULL, representative TEXT, note TEXT NOT NULL,
            location_raw TEXT NOT NULL, color TEXT NOT NULL, chapter TEXT NOT NULL, page TEXT NOT NULL,
            location INTEGER, created TEXT NOT NULL, modified TEXT NOT NULL, position BLOB NOT NULL, spine INTEGER,
            first_seen INTEGER NOT NULL);
        CREATE INDEX annotation_by_work ON annotation(work_id);
        CREATE TABLE annotation_source(annotation_id INTEGER NOT NULL REFERENCES annotation(id) ON DELETE CASCADE,
            source_id INTEGER NOT NULL REFERENCES source(id) ON DELETE CASCADE,
            content_hash INTEGER NOT NULL, removed_at TEXT, PRIMARY KEY(annotation_id, source_id)) WITHOUT ROWID;
        INSERT INTO source VALUES (1, 'kobo', 'kobo:X', 'Kobo', '/media/KOBO', '2025-01-01T00:00:00Z',
            '2025-01-01T00:00:00Z', 7);
        INSERT INTO work VALUES (1, 'U1', 'salt roads' || char(31) || 'lena hart', 'Salt Roads', 'Lena Hart',
            1735689600);
        INSERT INTO work_source VALUES (1, 'V1', 1, '', '', 'Kobo');
        INSERT INTO annotation VALUES (1, 1, 42, 2, NULL, 'B1', 0, 'Kept passage.', NULL, '', '', '', '', '', NULL,
            '', '', x'', NULL, 1735689600);
        INSERT INTO annotation_source VALUES (1, 1, 5, NULL);
        PRAGMA user_version = 1;
    )sql";
    ASSERT_EQ(sqlite3_exec(db, versionOne, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    const std::string keyed = "UPDATE annotation SET key_hash = " +
                              std::to_string(static_cast<std::int64_t>(ContentHash().add("kobo:B1").value()));
    ASSERT_EQ(sqlite3_exec(db, keyed.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    std::string problem;
    auto library = Library::open(file, problem);
    ASSERT_TRUE(library) << problem;
    ASSERT_TRUE(library->migrationBackup());
    EXPECT_EQ(countRows(*library->migrationBackup(), "annotation"), 1);
    EXPECT_EQ(countRows(*library->migrationBackup(), "sqlite_master WHERE name = 'annotation_tag'"), 0);
    const auto works = library->works();
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(passages(*works[0]), (std::vector<std::string>{"Kept passage."}));
    const std::string key = works[0]->annotations[0]->key();
    EXPECT_EQ(key, "kobo:B1");
    // The marks the new version brings work on the migrated rows.
    EXPECT_TRUE(library->setTags(key, {"kept"}, problem)) << problem;
    EXPECT_TRUE(library->setFavourite(key, true, problem)) << problem;
    EXPECT_EQ(library->works()[0]->annotations[0]->annotationLibrary->tags,
              (std::vector<std::string>{"kept"}));
    library.reset();
    EXPECT_FALSE(Library::open(file, problem)->migrationBackup()); // once only
}

TEST(Library, NewerDamagedAndFailedInputsChangeNothing) {
    const fs::path folder = freshFolder("library-refuse");
    // A file of a newer schema: read, never written.
    const fs::path newer = folder / "newer.sqlite";
    {
        std::string problem;
        auto library = Library::open(newer, problem);
        ASSERT_TRUE(library);
    }
    sqlite3* db = nullptr;
    sqlite3_open(newer.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const std::string bytes = readFile(newer);
    {
        std::string problem;
        auto library = Library::open(newer, problem);
        ASSERT_TRUE(library) << problem;
        EXPECT_TRUE(library->readOnly());
        EXPECT_NE(library->notice().find("newer version"), std::string::npos);
        SourceRead read;
        read.key = "x";
        read.works.push_back(std::make_shared<Work>("T", "A"));
        Library::Counts counts;
        EXPECT_FALSE(library->add(read, counts, problem));
        EXPECT_FALSE(library->setFavourite("k", true, problem));
        EXPECT_TRUE(library->works().empty());
    }
    EXPECT_EQ(readFile(newer), bytes);

    // Not a database: named in the message, left as it is.
    const fs::path damaged = writeFile(folder / "damaged.sqlite", std::string(8192, 'x'));
    std::string problem;
    EXPECT_FALSE(Library::open(damaged, problem));
    EXPECT_NE(problem.find(damaged.string()), std::string::npos);
    EXPECT_EQ(readFile(damaged), std::string(8192, 'x'));

    // A source that fails to read adds nothing.
    auto library = Library::open(folder / "library.sqlite", problem);
    ASSERT_TRUE(library);
    const SourceRead failed =
        Sources::read(SourceKind::Kobo, writeFile(folder / "KoboReader.sqlite", "not sqlite"));
    ASSERT_FALSE(failed.ok());
    Library::Counts counts;
    EXPECT_FALSE(library->add(failed, counts, problem));
    EXPECT_EQ(problem, failed.problem);
    EXPECT_TRUE(library->sources().empty());
}

TEST(Library, AddKilledAtAnyPointLeavesTheLibraryAsItWas) {
    const fs::path folder = freshFolder("library-kill");
    const fs::path file = folder / "library.sqlite";
    std::string small, big;
    for (int i = 0; i < 60000; ++i) {
        const std::string record =
            clipping("Book " + std::to_string(i % 300) + " (Writer)",
                     "Your Highlight on Location " + std::to_string(i) + "-" + std::to_string(i + 1),
                     "Passage number " + std::to_string(i) + " of a long file.");
        big += record;
        if (i < 50) small += record;
    }
    const fs::path smallFile = writeFile(folder / "small/My Clippings.txt", small);
    const fs::path bigFile = writeFile(folder / "big/My Clippings.txt", big);
    const auto run = [&](const fs::path& clippings, int killAfterMs) {
        QProcess process;
        process.start(QStringLiteral(NOTARA_CLI_PATH),
                      {"library", "add", "--clippings", QString::fromStdString(clippings.string()),
                       "--library", QString::fromStdString(file.string())});
        process.waitForStarted();
        if (killAfterMs >= 0 && !process.waitForFinished(killAfterMs)) {
            process.kill(); // SIGKILL
            process.waitForFinished();
            return false;
        }
        process.waitForFinished(60000);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
    ASSERT_TRUE(run(smallFile, -1));
    ASSERT_EQ(countRows(file, "annotation"), 50);
    std::mt19937 random(20261209);
    int killed = 0;
    for (int round = 0; round < 8; ++round) {
        const int after = std::uniform_int_distribution<int>(20, 900)(random);
        if (run(bigFile, after)) break; // finished before the kill: the rest would prove nothing
        ++killed;
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_stmt* check = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
        ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok")
            << "killed after " << after;
        sqlite3_finalize(check);
        sqlite3_close(db);
        EXPECT_EQ(countRows(file, "annotation"), 50) << "killed after " << after;
        EXPECT_EQ(countRows(file, "source"), 1) << "killed after " << after;
    }
    EXPECT_GT(killed, 0);
}

TEST(Library, CommandLineAddsListsSearchesAndForgets) {
    const fs::path folder = freshFolder("library-cli");
    const QString library = QString::fromStdString((folder / "library.sqlite").string());
    const fs::path file =
        writeFile(folder / "My Clippings.txt",
                  clipping("Nightwork (Ren Sato)", "Your Highlight on Location 10-12", "Harbour.") +
                      clipping("Salt (Lena Hart)", "Your Highlight on Location 1-2", "Roads."));
    const QString clippings = QString::fromStdString(file.string());
    CliRun added = cli({"library", "add", "--clippings", clippings, "--library", library});
    EXPECT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "2 new, 0 changed, 0 removed at source, 0 unchanged\n");
    CliRun listed = cli({"library", "list", "--json", "--library", library});
    EXPECT_NE(listed.out.find("\"workSources\": [\"Kindle (My Clippings.txt)\"]"), std::string::npos);
    EXPECT_NE(listed.out.find("\"annotationRemovedAtSource\": null, \"annotationFavourite\": false, "
                              "\"annotationTags\": []"),
              std::string::npos);
    EXPECT_EQ(cli({"library", "search", "harbour", "--library", library}).exitCode, 0);
    const fs::path out = freshFolder("library-cli-out");
    CliRun exported =
        cli({"library", "export", "--out", QString::fromStdString(out.string()), "--library", library});
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2);
    EXPECT_EQ(cli({"library", "search", "is:favourite", "--library", library}).exitCode, 1);
    CliRun sources = cli({"library", "sources", "--library", library});
    EXPECT_EQ(sources.out.substr(0, 2), "1\t");
    CliRun forgot = cli({"library", "forget", "1", "--library", library});
    EXPECT_EQ(forgot.out, "Forgot Kindle (My Clippings.txt): 2 highlights left the library\n");
    EXPECT_EQ(cli({"library", "forget", "1", "--library", library}).exitCode, 1);
    // A Books folder added again as it was: known from its files' bytes, with the read's warnings.
    const BooksDataFolder data(folder / "Data");
    writeBooksFolder(data, {{{"A1", "Salt Roads", "Lena Hart"}}, {highlight("A1", "The road ran on.")}});
    const QString books = QString::fromStdString(data.root.string());
    CliRun first = cli({"library", "add", "--books", books, "--library", library});
    EXPECT_EQ(first.out, "1 new, 0 changed, 0 removed at source, 0 unchanged\n") << first.err;
    CliRun again = cli({"library", "add", "--books", books, "--library", library});
    EXPECT_EQ(again.out, "0 new, 0 changed, 0 removed at source, 1 unchanged\n");
    EXPECT_EQ(again.err, first.err);
    CliRun broken = cli({"library", "list", "--library", QString::fromStdString(folder.string())});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find(folder.string()), std::string::npos);
}

TEST(ClippingsReader, ANoteWrittenLongAfterItsHighlightStillJoinsIt) {
    std::string file;
    const std::string book = "Nightwork (Ren Sato)";
    file += clipping(book, "Your Highlight on Location 100-105", "Ends where the note is.");
    file += clipping(book, "Your Highlight on Location 200-230", "Holds the second note.");
    for (int i = 0; i < 30; ++i)
        file += clipping("Other (Someone)",
                         "Your Highlight on Location " + std::to_string(i) + "-" + std::to_string(i),
                         "Filler " + std::to_string(i));
    file += clipping(book, "Your Note on Location 105", "Weeks later.");
    file += clipping(book, "Your Note on Location 210", "Inside the range.");
    file += clipping(book, "Your Note on Location 900", "Alone.");
    const auto works = ClippingsReader::read(file);
    const auto night =
        std::find_if(works.begin(), works.end(), [](auto& w) { return w->workTitle == "Nightwork"; });
    ASSERT_NE(night, works.end());
    ASSERT_EQ((*night)->annotations.size(), 3u);
    EXPECT_EQ((*night)->annotations[0]->annotationUserNotes, "Weeks later.");
    EXPECT_EQ((*night)->annotations[1]->annotationUserNotes, "Inside the range.");
    EXPECT_EQ((*night)->annotations[2]->annotationKind, Annotation::Kind::Note);
    EXPECT_EQ((*night)->annotations[2]->annotationUserNotes, "Alone.");
}
