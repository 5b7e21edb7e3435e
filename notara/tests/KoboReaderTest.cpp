// KoboReader.sqlite as three firmware generations write it: books side-loaded and bought,
// chapters from the table of contents, notes, colours, hidden rows, the write-ahead log.

#include "notara/core/sources/kobo/KoboReader.h"
#include "notara/tests/KoboStore.h"
#include "notara/tests/TestSupport.h"

#include <gtest/gtest.h>

using namespace notara;
using notara::test::KoboBookmark;
using notara::test::KoboStore;

namespace {

const std::string sideloaded = "file:///mnt/onboard/Hart, Lena/Salt Roads - Lena Hart.kepub.epub";
const std::string sideloadedPart =
    "/mnt/onboard/Hart, Lena/Salt Roads - Lena Hart.kepub.epub!!epub/text/ch_3.xhtml";
const std::string store = "3f1c2a9e-5b7d-4e21-9a0c-6d8e2f4b1a77";
const std::string storePart = store + "!OEBPS!Text/08_Chapter01.xhtml";
const std::string plain = "file:///mnt/onboard/Okafor, Ada/Stillwater Harbour - Ada Okafor.epub";
const std::string plainPart = plain + "#(17)OEBPS/text/content0016.xhtml#heading_id_18";

// A device library: three books with their parts and tables of contents.
void addLibrary(KoboStore& db) {
    db.addContent(sideloaded, "6", "Salt Roads  ", "Lena Hart,Tomas Vik");
    db.addContent(sideloadedPart, "9", "epub/text/ch_3.xhtml", std::nullopt, sideloaded, 3);
    db.addContent(sideloadedPart + "-2", "899", "Later in the File", std::nullopt, sideloaded, 5);
    db.addContent(sideloadedPart + "-1", "899", "Chapter Three ", std::nullopt, sideloaded, 4);
    // An id with underscores, which an SQL LIKE would take as wildcards.
    std::string lookalike = sideloadedPart + "-1";
    lookalike.replace(lookalike.find("ch_3"), 4, "chX3");
    db.addContent(lookalike, "899", "Wrong", std::nullopt, sideloaded, 1);
    db.addContent(store, "6", "Among the Reeds", "A. Reyes PhD, B. Reyes PhD");
    db.addContent(storePart + "#rch1-1", "899", "One: The Delta", std::nullopt, store, 2);
    db.addContent(plain, "6", "Stillwater Harbour", "Ada Okafor");
    db.addContent(plainPart, "9", "The Lighthouse", std::nullopt, plain, 17);
    db.addContent("unused-book", "6", "Never Annotated", "Nobody");
}

std::filesystem::path buildDevice(const std::string& name, KoboStore::Generation generation,
                                  const std::vector<KoboBookmark>& bookmarks) {
    const auto root = notara::test::freshFolder(name);
    KoboStore db(root / ".kobo" / "KoboReader.sqlite", generation);
    addLibrary(db);
    for (const auto& bookmark : bookmarks)
        db.addBookmark(bookmark);
    return root / ".kobo" / "KoboReader.sqlite";
}

std::vector<WorkPtr> read(const std::filesystem::path& database, std::string& problem) {
    return KoboReader::readFile(database, notara::test::freshFolder("kobo-working"), problem);
}

KoboBookmark mark(std::string id, std::string volume, std::string part, std::optional<std::string> text,
                  double progress) {
    KoboBookmark b;
    b.id = std::move(id);
    b.volumeID = std::move(volume);
    b.contentID = std::move(part);
    b.text = std::move(text);
    b.progress = progress;
    return b;
}

} // namespace

TEST(KoboReader, BooksChaptersNotesColoursAndSkippedRows) {
    std::vector<KoboBookmark> rows;
    rows.push_back(mark("b2", sideloaded, sideloadedPart, "  Second, later in the book.\n", 0.5));
    rows.push_back(mark("b1", sideloaded, sideloadedPart, "First.", 0.25));
    rows.back().type = "note";
    rows.back().annotation = "My note";
    rows.back().color = 2;
    rows.push_back(mark("hidden", sideloaded, sideloadedPart, "Deleted.", 0.3));
    rows.back().hidden = "true";
    rows.push_back(mark("hidden1", sideloaded, sideloadedPart, "Deleted too.", 0.3));
    rows.back().hidden = "1";
    rows.push_back(mark("dogear", sideloaded, sideloadedPart, std::nullopt, 0.4));
    rows.back().type = "dogear";
    rows.push_back(mark("ink", sideloaded, sideloadedPart, "", 0.4));
    rows.back().type = "markup";
    rows.push_back(mark("empty", sideloaded, sideloadedPart, "", 0.4));
    rows.back().annotation = "";
    rows.push_back(mark("s1", store, storePart, "From the store.", 0.1));
    rows.back().color = 4; // grey, as greyscale devices write for every highlight
    rows.push_back(mark("p1", plain, plainPart, "From the plain EPUB.", 0.9));
    rows.back().created = "0000-00-00T00:00:00.000";
    rows.back().modified = "";
    rows.push_back(mark("gone", "file:///mnt/onboard/Deleted Book.kepub.epub", "elsewhere", "Orphan.", 0.1));

    std::string problem;
    const auto works = read(buildDevice("kobo-colour", KoboStore::Generation::Colour, rows), problem);
    ASSERT_EQ(works.size(), 4u) << problem;
    EXPECT_EQ(works[0]->workTitle, "Among the Reeds");
    EXPECT_EQ(works[0]->workAuthor, "A. Reyes PhD, B. Reyes PhD");
    EXPECT_EQ(works[1]->workTitle, "Deleted Book");
    EXPECT_EQ(works[2]->workTitle, "Salt Roads");
    EXPECT_EQ(works[2]->workAuthor, "Lena Hart,Tomas Vik");
    EXPECT_EQ(works[3]->workTitle, "Stillwater Harbour");
    for (const auto& work : works)
        EXPECT_EQ(work->workSource, "Kobo");

    const auto& salt = works[2]->annotations;
    ASSERT_EQ(salt.size(), 2u);
    EXPECT_EQ(salt[0]->annotationID, "b1"); // reading order, not row order
    EXPECT_EQ(salt[0]->annotationSelectedText, "First.");
    EXPECT_EQ(salt[0]->annotationUserNotes, "My note");
    EXPECT_EQ(salt[0]->annotationColor, "blue");
    EXPECT_EQ(salt[0]->annotationChapter, "Chapter Three");
    EXPECT_EQ(salt[0]->annotationCreated, "2025-02-04T17:16:33Z");
    EXPECT_EQ(salt[0]->annotationModified, "2025-02-04T17:16:33Z");
    EXPECT_EQ(salt[1]->annotationSelectedText, "Second, later in the book.");
    EXPECT_EQ(salt[1]->annotationColor, "yellow");
    EXPECT_TRUE(salt[0]->annotationPosition.key < salt[1]->annotationPosition.key);

    EXPECT_EQ(works[0]->annotations[0]->annotationChapter, "One: The Delta");
    EXPECT_EQ(works[0]->annotations[0]->annotationColor, "");
    const auto& harbour = *works[3]->annotations[0];
    EXPECT_EQ(harbour.annotationChapter, "The Lighthouse");
    EXPECT_TRUE(harbour.annotationCreated.empty());
    EXPECT_TRUE(harbour.annotationModified.empty());
    EXPECT_EQ(works[1]->annotations[0]->annotationChapter, "");
}

TEST(KoboReader, OlderGenerationsWithoutTypeOrColour) {
    std::vector<KoboBookmark> rows;
    rows.push_back(mark("h", sideloaded, sideloadedPart, "A highlight.", 0.1));
    rows.push_back(mark("n", sideloaded, sideloadedPart, "With a note.", 0.2));
    rows.back().annotation = "Its note.";
    rows.push_back(mark("bm", sideloaded, sideloadedPart, std::nullopt, 0.3)); // a bookmark: no text
    for (auto generation : {KoboStore::Generation::NoType, KoboStore::Generation::Version174}) {
        std::string problem;
        const auto works = read(buildDevice("kobo-old", generation, rows), problem);
        ASSERT_EQ(works.size(), 1u) << problem;
        const auto& annotations = works[0]->annotations;
        ASSERT_EQ(annotations.size(), 2u);
        EXPECT_EQ(annotations[1]->annotationUserNotes, "Its note.");
        EXPECT_EQ(annotations[1]->annotationColor, "");
    }
}

TEST(KoboReader, ReadsTheLogFromACopyAndLeavesTheDeviceAlone) {
    const auto root = notara::test::freshFolder("kobo-wal");
    const auto database = root / ".kobo" / "KoboReader.sqlite";
    {
        KoboStore db(database, KoboStore::Generation::Version174);
        addLibrary(db);
        db.addBookmark(mark("old", sideloaded, sideloadedPart, "Checkpointed.", 0.1));
        db.keepRecentInLog();
        db.addBookmark(mark("new", sideloaded, sideloadedPart, "Only in the log.", 0.2));
    }
    ASSERT_TRUE(std::filesystem::exists(database.string() + "-wal"));
    const auto before = notara::test::snapshot(root);
    std::string problem;
    const auto working = notara::test::freshFolder("kobo-wal-working");
    for (int run = 0; run < 2; ++run) { // the second run replaces the first copy
        const auto works = KoboReader::readFile(database, working, problem);
        ASSERT_EQ(works.size(), 1u) << problem;
        EXPECT_EQ(works[0]->annotations.size(), 2u);
    }
    EXPECT_EQ(notara::test::snapshot(root), before);
    EXPECT_TRUE(std::filesystem::exists(working / "KoboReader.sqlite"));
}

TEST(KoboReader, FilesThatAreNotKoboDatabasesSayWhy) {
    const auto folder = notara::test::freshFolder("kobo-bad");
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    };
    // A real SQLite file of another program, a Kobo file cut short, text, an empty file.
    const auto books = notara::test::writeBooksFolder(notara::test::BooksDataFolder(folder / "books"), {});
    const auto good = buildDevice("kobo-for-truncation", KoboStore::Generation::Version174,
                                  {mark("h", sideloaded, sideloadedPart, "A highlight.", 0.1)});
    const std::string bytes = notara::test::readFile(good);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {*books.librarySQLFile, "not a Kobo database"},
        {write("cut.sqlite", bytes.substr(0, bytes.size() / 2)), "damaged"},
        {write("text.sqlite", "SQLite? No, just text.\n"), "not an SQLite file"},
        {write("empty.sqlite", ""), "not an SQLite file"},
        {folder / "missing.sqlite", "cannot be read"},
        {buildDevice("kobo-none", KoboStore::Generation::Colour, {}), "no highlight"},
    };
    for (const auto& [file, expected] : cases) {
        std::string problem;
        EXPECT_TRUE(read(file, problem).empty()) << file;
        EXPECT_NE(problem.find(expected), std::string::npos) << file << ": " << problem;
    }
}

TEST(KoboReader, CommandLineListsExportsAndFails) {
    std::vector<KoboBookmark> rows{mark("h", sideloaded, sideloadedPart, "A highlight.", 0.2),
                                   mark("s", store, storePart, "Bought.", 0.1)};
    const auto database = buildDevice("kobo-cli", KoboStore::Generation::Colour, rows);
    const QString file = QString::fromStdString(database.native());
    const auto before = notara::test::snapshot(database.parent_path());

    auto run = notara::test::cli({"list", "--kobo", file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Among the Reeds\tA. Reyes PhD, B. Reyes PhD\t1\nSalt Roads\tLena Hart,Tomas Vik\t1\n");
    run = notara::test::cli({"list", "--kobo", file, "--json", "--order", "book"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"annotationChapter\": \"Chapter Three\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"annotationColor\": \"yellow\""), std::string::npos);

    const auto out = notara::test::freshFolder("kobo-cli-out");
    run = notara::test::cli({"export", "--kobo", file, "--out", QString::fromStdString(out.native())});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);
    EXPECT_EQ(notara::test::snapshot(database.parent_path()), before);

    run = notara::test::cli({"list", "--kobo", file + ".missing"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("could not be read. The file cannot be read"), std::string::npos) << run.err;
    run = notara::test::cli({"list", "--kobo", file, "--clippings", file});
    EXPECT_EQ(run.exitCode, 2);
}
