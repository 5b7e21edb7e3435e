// KOReader, Foliate and calibre as sources: the Lua literal reader, both KOReader layouts and
// where sidecars lie, Foliate's book files, a calibre library and the viewer's files, the scan
// of a home folder, and every source file left as it was.

#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/sources/Scan.h"
#include "notara/core/sources/Sources.h"
#include "notara/core/sources/koreader/LuaLiteral.h"
#include "notara/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

fs::path write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::optional<LuaLiteral> lua(const std::string& text, std::string* error = nullptr) {
    std::string ignored;
    return LuaLiteral::parse(text, error ? *error : ignored);
}

std::vector<std::string> passages(const Work& work,
                                  AnnotationOrder::Order order = AnnotationOrder::Order::Stored) {
    std::vector<std::string> texts;
    for (const auto& a : AnnotationOrder::sorted(work.annotations, order))
        texts.push_back(a->annotationSelectedText.empty() ? "note: " + a->annotationUserNotes
                                                          : a->annotationSelectedText);
    return texts;
}

const Work* workTitled(const SourceRead& read, const std::string& title) {
    for (const auto& work : read.works)
        if (work->workTitle == title) return work.get();
    return nullptr;
}

const std::string newLayout = R"lua(-- /mnt/onboard/Books/Salt Roads.sdr/metadata.epub.lua
return {
    ["annotations"] = {
        [1] = {
            ["chapter"] = "One",
            ["color"] = "yellow",
            ["datetime"] = "2025-03-04 21:12:40",
            ["drawer"] = "lighten",
            ["note"] = "Compare with\
chapter one.",
            ["page"] = "/body/DocFragment[7]/body/p[12]/text().18",
            ["pageno"] = 41,
            ["pos0"] = "/body/DocFragment[7]/body/p[12]/text().18",
            ["pos1"] = "/body/DocFragment[7]/body/p[12]/text().96",
            ["text"] = "The river kept its own \"calendar\".",
        },
        [2] = {
            ["datetime"] = "2025-03-05 08:00:00",
            ["page"] = "/body/DocFragment[9]/body/p[1]/text().0",
            ["text"] = "in Chapter 3",
        },
        [3] = {
            ["color"] = "red",
            ["datetime"] = "2025-03-05 09:00:00",
            ["datetime_updated"] = "2025-03-06 10:00:00",
            ["drawer"] = "underscore",
            ["pageref"] = "112",
            ["pos0"] = "/body/DocFragment[10]/body/div[3]/p[2]/text().5",
            ["pos1"] = "/body/DocFragment[10]/body/div[3]/p[2]/text().40",
            ["text"] = "Later in the book.",
        },
        [4] = {
            ["datetime"] = "2025-03-05 10:00:00",
            ["note"] = "A page bookmark with a note.",
            ["page"] = "/body/DocFragment[11]/body/p[1]/text().0",
            ["text"] = "in Chapter 4",
        },
    },
    ["doc_props"] = {
        ["authors"] = "Lena Hart\
Tomas Vik",
        ["title"] = "Salt Roads",
    },
    ["partial_md5_checksum"] = "3b1f0c9e2d4a6b8c0e1f2a3b4c5d6e7f",
}
)lua";

// The layout before 2024, written by an older KOReader in random key order with tabs.
const std::string legacyLayout =
    "-- we can read Lua syntax here!\nreturn {\n"
    "\t[\"bookmarks\"] = {\n"
    "\t\t[2] = {[\"datetime\"] = \"2020-01-01 10:00:00\", [\"notes\"] = \"First page text\", "
    "[\"text\"] = \"Page 3 First page text @ 2020-01-01 10:00:00\", [\"page\"] = 3},\n"
    "\t\t[1] = {[\"datetime\"] = \"2020-01-02 10:00:00\", [\"notes\"] = \"Second\", "
    "[\"text\"] = \"My own note\", [\"page\"] = 9}\n"
    "\t},\n"
    "\t[\"highlight\"] = {\n"
    "\t\t[9] = {[1] = {[\"datetime\"] = \"2020-01-02 10:00:00\", [\"text\"] = \"Second\", "
    "[\"drawer\"] = \"lighten\", [\"pos0\"] = {[\"page\"] = 9, [\"x\"] = 1, [\"y\"] = 2}}},\n"
    "\t\t[3] = {[1] = {[\"datetime\"] = \"2020-01-01 10:00:00\", [\"text\"] = \"First page text\", "
    "[\"drawer\"] = \"lighten\", [\"pos0\"] = {[\"page\"] = 3, [\"x\"] = 1, [\"y\"] = 2}}}\n"
    "\t},\n"
    "\t[\"partial_md5_checksum\"] = \"00000000000000000000000000000001\"\n"
    "}\n";

} // namespace

TEST(LuaLiteral, AcceptsTheLiteralSubsetAndRefusesTheRest) {
    auto value = lua("\xEF\xBB\xBF-- comment\nreturn --[==[ long\ncomment ]==] { [\"a\"] = "
                     "'x\\65\\0011\\x41\\u{E9}\\z\n  y', "
                     "b = [[\nline\r\nnext]], [3] = 0x1F, [2.0] = -1.5e2, 12, [\"t\"] = true, [\"n\"] = nil, "
                     "[\"deep\"] = { { {} } }; } ;");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->get("a")->string, "xA\x01"
                                       "1A\xC3\xA9y");
    EXPECT_EQ(value->get("b")->string, "line\nnext");
    EXPECT_EQ(value->at(3)->integer, 31);
    EXPECT_EQ(value->at(2)->type, LuaLiteral::Type::Integer); // -150: integral values are integers
    EXPECT_EQ(value->at(2)->integer, -150);
    EXPECT_EQ(value->at(1)->integer, 12);
    EXPECT_TRUE(value->get("t")->boolean);
    EXPECT_EQ(value->get("n"), nullptr);
    // Keys written in any order come back in key order; the last of two equal keys wins.
    auto sparse = lua("return {[3] = 'c', [1] = 'a', [2] = 'x', [2] = 'b'}");
    ASSERT_TRUE(sparse);
    std::string order;
    for (const LuaLiteral* item : sparse->sequence())
        order += item->string;
    EXPECT_EQ(order, "abc");
    // A nil (or bare nan) at a position leaves no field behind, and later keys find their own.
    auto holes = lua("return {nan, true, nil; [3] = 10, [7] = 0, 0, [\"k\"] = nil, k = 'v', [1] = 'one'}");
    ASSERT_TRUE(holes);
    EXPECT_EQ(holes->at(1)->string, "one");
    EXPECT_TRUE(holes->at(2)->boolean);
    EXPECT_EQ(holes->at(3)->integer, 10);
    EXPECT_EQ(holes->at(4)->integer, 0);
    EXPECT_EQ(holes->get("k")->string, "v");

    for (const char* refused : {"return {1 + 2}",
                                "return {x}",
                                "return {f()}",
                                "return {,}",
                                "return {1,,2}",
                                "return 'a' .. 'b'",
                                "return \"cut\nhere\"",
                                "return '\\q'",
                                "return '\\300'",
                                "return 1e",
                                "return 0x",
                                "return 12abc",
                                "return 1LL",
                                "return -inf",
                                "x = 1",
                                "return {} {}",
                                "return {[\"a\"] = 1",
                                "return '\\u{110000}'",
                                "return --5",
                                "return {[{}] = 1}",
                                "return [==[ never closed"}) {
        std::string error;
        EXPECT_FALSE(lua(refused, &error)) << refused;
        EXPECT_TRUE(error.starts_with("line ")) << refused << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(lua("return {\n\n'\\q'}", &error));
    EXPECT_TRUE(error.starts_with("line 3: ")) << error;

    // Hostile nesting and sizes: a message, no crash, no hang.
    EXPECT_FALSE(lua("return " + std::string(1000000, '{') + std::string(1000000, '}'), &error));
    EXPECT_NE(error.find("nested"), std::string::npos);
    const std::string big(100 << 20, 'a');
    auto huge = lua("return {\"" + big + "\"}");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->at(1)->string.size(), big.size());
}

TEST(KoreaderSource, ReadsBothLayoutsBesideTheBookAndInDocsettings) {
    const fs::path device = freshFolder("koreader-device");
    write(device / "Books/Salt Roads.sdr/metadata.epub.lua", newLayout);
    write(device / ".adds/koreader/docsettings/mnt/onboard/Books/Old Scan.sdr/metadata.pdf.lua",
          legacyLayout);
    // Cut off in the middle, with a sound copy beside it; and one with nothing to fall back on.
    write(device / "Books/Cut.sdr/metadata.epub.lua", newLayout.substr(0, newLayout.size() / 2));
    write(
        device / "Books/Cut.sdr/metadata.epub.lua.old",
        "return {[\"annotations\"] = {{[\"datetime\"] = \"2024-01-01 00:00:00\", [\"drawer\"] = \"lighten\", "
        "[\"pos0\"] = \"/body/DocFragment[2]/p[1]/text().0\", [\"text\"] = \"Kept in the old copy.\"}}, "
        "[\"doc_props\"] = {[\"title\"] = \"Cut\"}}");
    write(device / "Books/Latin1.sdr/metadata.epub.lua",
          "return {[\"annotations\"] = {{[\"text\"] = \"caf\xE9\"");
    const auto before = snapshot(device);

    const SourceRead read = Sources::read(SourceKind::Koreader, device);
    ASSERT_TRUE(read.ok()) << read.problem;
    EXPECT_EQ(snapshot(device), before);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_NE(read.warnings[0].find("Latin1.sdr/metadata.epub.lua"), std::string::npos);

    const Work* salt = workTitled(read, "Salt Roads");
    ASSERT_TRUE(salt);
    EXPECT_EQ(salt->workAuthor, "Lena Hart, Tomas Vik");
    EXPECT_EQ(passages(*salt),
              (std::vector<std::string>{"The river kept its own \"calendar\".", "Later in the book.",
                                        "note: A page bookmark with a note."}));
    const Annotation& first = *salt->annotations[0];
    EXPECT_EQ(first.annotationUserNotes, "Compare with\nchapter one.");
    EXPECT_EQ(first.annotationColor, "yellow");
    EXPECT_EQ(first.annotationChapter, "One");
    EXPECT_EQ(first.annotationPage, "41");
    EXPECT_EQ(first.annotationCreated.view(), "2025-03-04T21:12:40Z");
    const Annotation& second = *salt->annotations[1];
    EXPECT_EQ(second.annotationColor, "underline"); // the drawer, not the colour, says how it looks
    EXPECT_EQ(second.annotationPage, "112");
    EXPECT_EQ(second.annotationModified.view(), "2025-03-06T10:00:00Z");

    // The older layout: page order, and the note only where the reader wrote one.
    const Work* scan = workTitled(read, "Old Scan");
    ASSERT_TRUE(scan);
    EXPECT_EQ(passages(*scan), (std::vector<std::string>{"First page text", "Second"}));
    EXPECT_EQ(scan->annotations[0]->annotationUserNotes, "");
    EXPECT_EQ(scan->annotations[1]->annotationUserNotes, "My own note");
    const Work* cut = workTitled(read, "Cut");
    ASSERT_TRUE(cut);
    EXPECT_EQ(passages(*cut), (std::vector<std::string>{"Kept in the old copy."}));

    // The same book's sidecar in two places is one book.
    write(device / ".adds/koreader/docsettings/mnt/onboard/Books/Salt Roads.sdr/metadata.epub.lua",
          newLayout);
    EXPECT_EQ(Sources::read(SourceKind::Koreader, device).works.size(), read.works.size());
}

TEST(KoreaderSource, BookOrderFollowsTheXpointersAndPages) {
    const fs::path folder = freshFolder("koreader-order");
    write(folder / "B.sdr/metadata.epub.lua",
          "return {[\"annotations\"] = {"
          "{[\"datetime\"] = \"2025-01-03 00:00:00\", [\"drawer\"] = \"lighten\", [\"text\"] = \"third\", "
          "[\"pos0\"] = \"/body/DocFragment[10]/body/p[2]/text().5\"},"
          "{[\"datetime\"] = \"2025-01-01 00:00:00\", [\"drawer\"] = \"lighten\", [\"text\"] = \"second\", "
          "[\"pos0\"] = \"/body/DocFragment[9]/body/p[12]/text().5\"},"
          "{[\"datetime\"] = \"2025-01-02 00:00:00\", [\"drawer\"] = \"lighten\", [\"text\"] = \"first\", "
          "[\"pos0\"] = \"/body/DocFragment[9]/body/p[3]/text().50\"}}}");
    const SourceRead read = Sources::read(SourceKind::Koreader, folder);
    ASSERT_TRUE(read.ok()) << read.problem;
    ASSERT_EQ(read.works.size(), 1u);
    EXPECT_EQ(read.works[0]->workTitle, "B"); // no doc_props: the book's file name
    EXPECT_EQ(passages(*read.works[0], AnnotationOrder::Order::Book),
              (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_FALSE(Sources::read(SourceKind::Koreader, freshFolder("koreader-empty")).ok());
}

TEST(FoliateSource, ReadsEachBooksFileWithNotesColoursAndPlaces) {
    const fs::path folder = freshFolder("foliate-data");
    write(folder / "urn%3Auuid%3A1234.json",
          R"js({"annotations": [
                {"value": "epubcfi(/6/12!/4/2/8,/1:0,/1:20)", "color": "aqua", "text": "Later passage", "note": "",
                 "created": "2024-05-02T18:04:11.532Z", "modified": ""
},
                {"value": "epubcfi(/6/8!/4/2/62,/5:1,/10/1:1)", "color": "underline", "text": "Earlier passage",
                 "note": "Mine", "created": "2024-05-01T10:00:00.000Z", "modified": "2024-05-03T10:00:00.000Z"}],
              "bookmarks": [], "metadata": {
    "title" : {"en" : "The Ferry"}, "author" : [ {"name" : "Ada Okafor"} ], "identifier" : "urn:uuid:1234"
}
})js");
    write(folder / "foliate%3Aabc.json", R"js({"annotations": [{"value": "epubcfi(/6/2!/4/2,/1:0,/1:3)",
              "color": "yellow", "text": "Old Foliate", "note": ""
}]
})js");
    write(folder / "broken.json", "{\"annotations\": [");
    const auto before = snapshot(folder);
    const SourceRead read = Sources::read(SourceKind::Foliate, folder);
    ASSERT_TRUE(read.ok()) << read.problem;
    EXPECT_EQ(snapshot(folder), before);
    EXPECT_EQ(read.warnings.size(), 1u);
    const Work* ferry = workTitled(read, "The Ferry");
    ASSERT_TRUE(ferry);
    EXPECT_EQ(ferry->workAuthor, "Ada Okafor");
    EXPECT_EQ(passages(*ferry, AnnotationOrder::Order::Book),
              (std::vector<std::string>{"Earlier passage", "Later passage"}));
    const Annotation& earlier = *AnnotationOrder::sorted(ferry->annotations, AnnotationOrder::Order::Book)[0];
    EXPECT_EQ(earlier.annotationUserNotes, "Mine");
    EXPECT_EQ(earlier.annotationColor, "underline");
    EXPECT_EQ(earlier.annotationCreated.view(), "2024-05-01T10:00:00Z");
    EXPECT_EQ(earlier.annotationModified.view(), "2024-05-03T10:00:00Z");
    EXPECT_TRUE(workTitled(read, "foliate:abc")); // no metadata: the identifier stands in
}

TEST(CalibreSource, ReadsALibraryFromACopyAndTheViewersFiles) {
    const fs::path library = freshFolder("calibre-library");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((library / "metadata.db").c_str(), &db), SQLITE_OK);
    const char* schema = R"sql(
        CREATE TABLE books (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT NOT NULL DEFAULT 'Unknown',
            sort TEXT, path TEXT NOT NULL DEFAULT '', uuid TEXT);
        CREATE TABLE authors (id INTEGER PRIMARY KEY, name TEXT NOT NULL, sort TEXT, link TEXT NOT NULL DEFAULT '');
        CREATE TABLE books_authors_link (id INTEGER PRIMARY KEY, book INTEGER NOT NULL, author INTEGER NOT NULL);
        CREATE TABLE annotations (id INTEGER PRIMARY KEY, book INTEGER NOT NULL, format TEXT NOT NULL,
            user_type TEXT NOT NULL, user TEXT NOT NULL, timestamp REAL NOT NULL, annot_id TEXT NOT NULL,
            annot_type TEXT NOT NULL, annot_data TEXT NOT NULL, searchable_text TEXT NOT NULL DEFAULT '',
            UNIQUE(book, user_type, user, format, annot_type, annot_id));
        INSERT INTO books (id, title, path, uuid) VALUES (1, 'The Ferry', 'Ada Okafor/The Ferry (1)', 'u1');
        INSERT INTO authors VALUES (1, 'Ada Okafor', 'Okafor, Ada', ''), (2, 'Ren Sato', 'Sato, Ren', '');
        INSERT INTO books_authors_link VALUES (1, 1, 1), (2, 1, 2);
        INSERT INTO annotations (book, format, user_type, user, timestamp, annot_id, annot_type, annot_data) VALUES
          (1, 'EPUB', 'local', 'viewer', 100, 'h2', 'highlight', '{"type": "highlight", "uuid": "h2",
             "highlighted_text": "Second place", "spine_index": 7, "start_cfi": "/2/4/2/1:5",
             "timestamp": "2023-08-20T11:11:49.002Z", "style": {"type": "builtin", "kind": "color", "which": "red"}}'),
          (1, 'EPUB', 'local', 'viewer', 100, 'h1', 'highlight', '{"type": "highlight", "uuid": "h1",
             "highlighted_text": "First place", "notes": "A note", "spine_index": 2, "start_cfi": "/2/4/10/1:0",
             "toc_family_titles": ["Part I", "3. The Ferry"], "timestamp": "2023-08-19T10:00:00.000Z"}'),
          (1, 'AZW3', 'local', 'viewer', 90, 'h1', 'highlight', '{"type": "highlight", "uuid": "h1",
             "highlighted_text": "First place", "spine_index": 2, "start_cfi": "/2/4/10/1:0"}'),
          (1, 'EPUB', 'local', 'viewer', 120, 'h3', 'highlight', '{"type": "highlight", "uuid": "h3",
             "removed": true, "timestamp": "2023-08-21T10:00:00.000Z"}'),
          (1, 'EPUB', 'local', 'viewer', 120, 'b1', 'bookmark', '{"type": "bookmark", "title": "b1"}');
    )sql";
    ASSERT_EQ(sqlite3_exec(db, schema, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    const auto before = snapshot(library);
    const SourceRead read = Sources::read(SourceKind::Calibre, library);
    ASSERT_TRUE(read.ok()) << read.problem;
    EXPECT_EQ(snapshot(library), before); // read from a copy
    ASSERT_EQ(read.works.size(), 1u);
    const Work& ferry = *read.works[0];
    EXPECT_EQ(ferry.workAuthor, "Ada Okafor, Ren Sato");
    EXPECT_EQ(passages(ferry), (std::vector<std::string>{"First place", "Second place"}));
    EXPECT_EQ(ferry.annotations[0]->annotationUserNotes, "A note");
    EXPECT_EQ(ferry.annotations[0]->annotationChapter, "3. The Ferry");
    EXPECT_EQ(ferry.annotations[0]->annotationColor, "yellow"); // no style: calibre's yellow
    EXPECT_EQ(ferry.annotations[1]->annotationColor, "pink");
    EXPECT_EQ(ferry.annotations[1]->annotationLocationRawText, "epubcfi(/6/16!/4/2/1:5)");

    const fs::path viewer = freshFolder("calibre-config/viewer/annots");
    write(viewer / "0f3a9c.json",
          R"js([{"type": "highlight", "uuid": "v1", "highlighted_text": "Viewer passage",
        "spine_index": 1, "start_cfi": "/2/2/1:0", "timestamp": "2023-01-01T00:00:00.000Z"},
        {"type": "last-read", "pos": "epubcfi(/6/4)"
}])js");
    const SourceRead loose = Sources::read(SourceKind::Calibre, viewer.parent_path().parent_path());
    ASSERT_TRUE(loose.ok()) << loose.problem;
    ASSERT_EQ(loose.works.size(), 1u);
    EXPECT_EQ(passages(*loose.works[0]), (std::vector<std::string>{"Viewer passage"}));
}

TEST(Scan, FindsTheReadersInAFakeHomeAndOnAMountedKobo) {
    const fs::path home = freshFolder("scan-home");
    Scan::Places places{home, home / ".config", home / ".local/share", {home / "media/KOBOeReader"}};
    write(home / ".config/koreader/docsettings/home/u/Books/Salt Roads.sdr/metadata.epub.lua", newLayout);
    write(
        home / ".var/app/com.github.johnfactotum.Foliate/data/com.github.johnfactotum.Foliate/x.json",
        R"js({"annotations": [{"value": "epubcfi(/6/2!/4/2,/1:0,/1:3)", "text": "Flatpak Foliate", "note": ""
}]
})js");
    write(home / ".config/calibre/viewer/annots/ab.json",
          R"js([{"type": "highlight", "uuid": "v1", "highlighted_text": "Viewer", "spine_index": 0}])js");
    // A Kobo running KOReader: the sidecars beside the books on the device.
    write(home / "media/KOBOeReader/.adds/koreader/settings.reader.lua", "return {}");
    write(home / "media/KOBOeReader/Books/Old Scan.sdr/metadata.pdf.lua", legacyLayout);
    const auto before = snapshot(home);

    const auto found = Scan::run(places);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].kind, SourceKind::Koreader);
    EXPECT_EQ(found[0].highlights, 3u);
    EXPECT_EQ(found[1].place, home / "media/KOBOeReader");
    EXPECT_EQ(found[1].books, 1u);
    EXPECT_EQ(found[2].kind, SourceKind::Foliate);
    EXPECT_EQ(found[3].kind, SourceKind::Calibre);
    EXPECT_EQ(snapshot(home), before);

    CliRun run = cli({"scan", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("[")) << run.out;
}
