// Where each highlight sits: the context members the loaders fill, book order, and a Markdown
// export that a CommonMark renderer reads as intended.

#include "notara/core/export/MarkdownExport.h"
#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"
#include "notara/tests/TestSupport.h"

#include "corvane/Corvane.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmark.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

std::vector<std::string> passages(const std::vector<AnnotationPtr>& annotations) {
    std::vector<std::string> result;
    for (const auto& annotation : annotations)
        result.push_back(annotation->annotationSelectedText.empty()
                             ? "note:" + annotation->annotationUserNotes
                             : annotation->annotationSelectedText);
    return result;
}

WorkPtr importPage(const std::string& name, const std::string& body) {
    const fs::path path = freshFolder("kindle-pages") / name;
    std::ofstream(path, std::ios::binary)
        << "<!DOCTYPE html><html><body><div class=\"bodyContainer\"><div class=\"bookTitle\">Book</div>"
           "<div class=\"authors\">Writer</div>"
        << body << "</div></body></html>";
    KindleNotesParser parser;
    parser.fileURL = path;
    auto works = parser.parseWorks();
    if (works.size() != 1) throw std::runtime_error("no work in " + name);
    return works.front();
}

std::string entry(const std::string& heading, const std::string& text) {
    return "<div class=\"noteHeading\">" + heading + "</div><div class=\"noteText\">" + text + "</div>";
}

// The block structure cmark reads: one letter per top-level block (H heading, Q quote,
// P paragraph, T thematic break).
std::string blocks(const std::string& markdown) {
    cmark_node* document = cmark_parse_document(markdown.data(), markdown.size(), CMARK_OPT_DEFAULT);
    std::string shape;
    for (cmark_node* node = cmark_node_first_child(document); node; node = cmark_node_next(node)) {
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HEADING: shape += 'H'; break;
        case CMARK_NODE_BLOCK_QUOTE: shape += 'Q'; break;
        case CMARK_NODE_PARAGRAPH: shape += 'P'; break;
        case CMARK_NODE_THEMATIC_BREAK: shape += 'T'; break;
        default: shape += '?';
        }
    }
    cmark_node_free(document);
    return shape;
}

class BooksContext : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(corvane::Corvane::appDocumentsPath()); }
    BooksDataFolder folder{freshFolder("Books Context")};
    DataManager model;
};

} // namespace

TEST(KindleContext, HeadingsGiveColourPageLocationAndChapter) {
    const WorkPtr work = importPage(
        "mobile.html",
        "<div class=\"sectionHeading\">\n  Chapter\xC2\xA0One \n</div>" +
            entry("Note - Location 3", "A note before any highlight.") +
            entry("Highlight (<span class=\"highlight_blue\">blue</span>) - Page 77 · Location 805",
                  "First.") +
            entry("Note - Page 80 · Location 900", "Attached to First.") +
            entry("Bookmark - Location 950", "") + entry("Note - Location 951", "After a bookmark.") +
            "<div class=\"sectionHeading\">Two</div>" +
            entry("Highlight (<span class=\"highlight_Orange\">orange</span>) - 6. LOOK > Page xii · "
                  "Location 1,200",
                  "Second.") +
            entry("Highlight (<span class=\"highlight_purple\">purple</span>) - Page 90", "No location."));
    ASSERT_EQ(work->annotations.size(), 5u);
    const Annotation& lone = *work->annotations[0];
    EXPECT_EQ(lone.annotationKind, Annotation::Kind::Note);
    EXPECT_EQ(lone.annotationColor, "");
    EXPECT_EQ(lone.annotationChapter, "Chapter\xC2\xA0One");
    EXPECT_EQ(lone.annotationLocation, 3);

    const Annotation& first = *work->annotations[1];
    EXPECT_EQ(first.annotationKind, Annotation::Kind::Highlight);
    EXPECT_EQ(first.annotationUserNotes, "Attached to First.");
    EXPECT_EQ(first.annotationColor, "blue");
    EXPECT_EQ(first.annotationPage, "77"); // the highlight's heading, not the note's
    EXPECT_EQ(first.annotationLocation, 805);
    EXPECT_EQ(first.annotationCreated, "");

    EXPECT_EQ(work->annotations[2]->annotationKind, Annotation::Kind::Note);
    EXPECT_EQ(work->annotations[2]->annotationUserNotes, "After a bookmark.");

    const Annotation& second = *work->annotations[3];
    EXPECT_EQ(second.annotationColor, "orange");
    EXPECT_EQ(second.annotationChapter, "6. LOOK"); // the heading's path beats the section
    EXPECT_EQ(second.annotationPage, "xii");
    EXPECT_EQ(second.annotationLocation, 1200);

    const Annotation& third = *work->annotations[4];
    EXPECT_EQ(third.annotationChapter, "Two");
    EXPECT_EQ(third.annotationPage, "90");
    EXPECT_EQ(third.annotationLocation, std::nullopt);
}

TEST(KindleContext, RealLayoutsKeepTheirPlaces) {
    KindleNotesParser parser;
    parser.fileURL = kindleSample("desktop-crossed-tags.html");
    const WorkPtr desktop = parser.parseWorks().at(0);
    ASSERT_EQ(desktop->annotations.size(), 5u);
    EXPECT_EQ(desktop->annotations[0]->annotationColor, "yellow");
    EXPECT_EQ(desktop->annotations[0]->annotationPage, "3");
    EXPECT_EQ(desktop->annotations[0]->annotationLocation, 75);
    EXPECT_EQ(desktop->annotations[0]->annotationChapter, "One: The Coast Road");
    EXPECT_EQ(desktop->annotations[2]->annotationChapter, "Two: Soundings");
    EXPECT_EQ(desktop->annotations[4]->annotationKind, Annotation::Kind::Note);
    EXPECT_EQ(desktop->annotations[4]->annotationLocation, 312);

    parser.fileURL = kindleSample("mobile-notebook-export-ja.html");
    const WorkPtr japanese = parser.parseWorks().at(0);
    ASSERT_FALSE(japanese->annotations.empty());
    EXPECT_EQ(japanese->annotations[0]->annotationColor, "pink");
    EXPECT_EQ(japanese->annotations[0]->annotationPage, "12");
    EXPECT_EQ(japanese->annotations[0]->annotationLocation, 180);
    EXPECT_EQ(japanese->annotations[0]->annotationChapter, "第一章 窓辺");
}

TEST(KindleContext, BookOrderSortsByLocationKeepingUnplacedEntriesAfterTheirNeighbour) {
    const WorkPtr work =
        importPage("order.html", entry("Highlight (yellow) - Location 50", "fifty") +
                                     entry("Highlight (yellow) - Page 3", "after fifty") +
                                     entry("Highlight (yellow) - Location 10", "ten") +
                                     entry("Highlight (yellow) - Location 50", "fifty again"));
    EXPECT_EQ(passages(work->annotations),
              (std::vector<std::string>{"fifty", "after fifty", "ten", "fifty again"}));
    EXPECT_EQ(passages(AnnotationOrder::sorted(work->annotations, AnnotationOrder::Order::Book)),
              (std::vector<std::string>{"ten", "fifty", "after fifty", "fifty again"}));
}

TEST_F(BooksContext, RowsGiveColourChapterAndDates) {
    LibraryContent content;
    content.books = {{"A1", "Book", "Writer"}};
    const char* colors[] = {"", "green", "blue", "yellow", "pink", "purple", ""};
    for (int style = 0; style <= 6; ++style) {
        AnnotationRow row = highlight("A1", "style " + std::to_string(style));
        row.style = style;
        content.annotations.push_back(row);
    }
    AnnotationRow underline = highlight("A1", "underlined");
    underline.underline = 1;
    AnnotationRow bare = highlight("A1", "bare");
    bare.style = std::nullopt;
    bare.chapter = std::nullopt;
    bare.created = std::nullopt;
    bare.modified = std::nullopt;
    AnnotationRow padded = highlight("A1", "padded");
    padded.chapter = "  LETTER OF CRITICISM \n";
    padded.created = 657569652.9; // 2021-11-02T18:14:12.9Z
    content.annotations.insert(content.annotations.end(), {underline, bare, padded});
    ASSERT_TRUE(model.loadDatabases(writeBooksFolder(folder, content)));

    const auto& annotations = model.works().at(0)->annotations;
    ASSERT_EQ(annotations.size(), 10u);
    for (int style = 0; style <= 6; ++style)
        EXPECT_EQ(annotations[style]->annotationColor, colors[style]) << style;
    EXPECT_EQ(annotations[7]->annotationColor, "underline");
    EXPECT_EQ(annotations[0]->annotationKind, Annotation::Kind::Highlight);
    EXPECT_EQ(annotations[0]->annotationChapter, "1 - The Function of Education");
    EXPECT_EQ(annotations[0]->annotationCreated, "2021-11-02T18:14:12Z");
    EXPECT_EQ(annotations[0]->annotationModified, "2021-11-02T18:15:42Z");
    EXPECT_EQ(annotations[0]->annotationPage, "");
    EXPECT_EQ(annotations[0]->annotationLocation, std::nullopt);
    EXPECT_EQ(annotations[8]->annotationColor, "");
    EXPECT_EQ(annotations[8]->annotationChapter, "");
    EXPECT_EQ(annotations[8]->annotationCreated, "");
    EXPECT_EQ(annotations[8]->annotationModified, "");
    EXPECT_EQ(annotations[9]->annotationChapter, "LETTER OF CRITICISM");
    EXPECT_EQ(annotations[9]->annotationCreated, "2021-11-02T18:14:12Z");
}

TEST_F(BooksContext, StoreWithoutTheContextColumnsLoadsAsBefore) {
    writeBooksFolder(folder, {{{"A1", "Book", "Writer"}}, {}});
    // An older layout: only the columns the first releases had.
    sqlite3* db = nullptr;
    fs::remove(folder.annotationFile);
    ASSERT_EQ(sqlite3_open(folder.annotationFile.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db,
                     "CREATE TABLE ZAEANNOTATION (Z_PK INTEGER PRIMARY KEY, ZANNOTATIONASSETID VARCHAR, "
                     "ZANNOTATIONUUID VARCHAR, ZANNOTATIONNOTE VARCHAR, ZANNOTATIONSELECTEDTEXT VARCHAR, "
                     "ZANNOTATIONLOCATION VARCHAR);"
                     "INSERT INTO ZAEANNOTATION VALUES (1, 'A1', 'U1', 'n', 'old', 'epubcfi(/6/4!/4:0)');",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(model.loadDatabases({folder.annotationFile, folder.libraryFile}));
    const Annotation& old = *model.works().at(0)->annotations.at(0);
    EXPECT_EQ(old.annotationSelectedText, "old");
    EXPECT_EQ(old.annotationUserNotes, "n");
    EXPECT_EQ(old.annotationColor, "");
    EXPECT_EQ(old.annotationChapter, "");
    EXPECT_EQ(old.annotationCreated, "");
}

TEST_F(BooksContext, BookOrderFollowsTheCfiThenSpineThenDate) {
    LibraryContent content;
    content.books = {{"A1", "Book", "Writer"}};
    auto at = [](std::string text, std::string cfi, double created, std::optional<int> spine = 11) {
        AnnotationRow row = highlight("A1", std::move(text));
        row.location = std::move(cfi);
        row.created = created;
        row.rangeStart = spine;
        return row;
    };
    content.annotations = {
        at("unparsed late", "not a cfi", 1),
        at("ch10", "epubcfi(/6/22[c10]!/4/2/2,/1:0,/1:9)", 5),
        at("ch2 end", "epubcfi(/6/6[c2]!/4/2/40/1:3)", 4),
        at("ch2 start", "epubcfi(/6/6[c2]!/4/2/4,/1:10,/1:20)", 3),
        at("unparsed early", "", 0),
        at("same place, newer", "epubcfi(/6/6[c2]!/4/2/4/1:10)", 9, std::nullopt),
        at("same place, older", "epubcfi(/6/6[c2]!/4/2/4/1:10)", 2, std::nullopt),
    };
    ASSERT_TRUE(model.loadDatabases(writeBooksFolder(folder, content)));
    const auto& stored = model.works().at(0)->annotations;
    EXPECT_EQ(passages(stored).front(), "unparsed late"); // the default stays the store's order
    EXPECT_EQ(passages(AnnotationOrder::sorted(stored, AnnotationOrder::Order::Book)),
              (std::vector<std::string>{"same place, older", "same place, newer", "ch2 start", "ch2 end",
                                        "ch10", "unparsed late", "unparsed early"}));
    EXPECT_EQ(passages(AnnotationOrder::sorted(stored, AnnotationOrder::Order::Created)).front(),
              "unparsed early");
}

TEST(MarkdownRendering, NotesStayParagraphsAndEveryAnnotationEndsInABreak) {
    Work work("Title", "Author");
    work.annotations = {std::make_shared<Annotation>("1", "one line", "a note"),
                        std::make_shared<Annotation>("2", "two\nlines", ""),
                        std::make_shared<Annotation>("3", "", "a lone note\nover two lines"),
                        std::make_shared<Annotation>("4", "last", "note\n\nwith a paragraph")};
    const std::string markdown = MarkdownExport::markdown(work);
    // Title, author line, then quote+note+break, quote+break, note+break, quote+2 notes+break.
    EXPECT_EQ(blocks(markdown), "HPQPTQTPTQPPT");
    EXPECT_EQ(markdown.substr(markdown.find("> one")), "> one line\n\na note\n\n---\n> two\n>lines\n---\n"
                                                       "a lone note\nover two lines\n\n---\n"
                                                       "> last\n\nnote\n\nwith a paragraph\n\n---\n");
}

TEST_F(BooksContext, CommandLineListsTheContextAndBothOrders) {
    LibraryContent content;
    content.books = {{"A1", "Book", "Writer"}};
    AnnotationRow later = highlight("A1", "later");
    later.location = "epubcfi(/6/10!/4/2:0)";
    AnnotationRow earlier = highlight("A1", "earlier");
    earlier.location = "epubcfi(/6/4!/4/2:0)";
    earlier.style = 2;
    earlier.created = std::nullopt;
    content.annotations = {later, earlier};
    writeBooksFolder(folder, content);
    const QString books = QString::fromStdString(folder.root.native());

    auto annotationsOf = [](const CliRun& run) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out))
            .array()[0]
            .toObject()["annotations"]
            .toArray();
    };
    const QJsonArray stored = annotationsOf(cli({"list", "--books", books, "--json"}));
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].toObject()["annotationSelectedText"].toString(), "later");
    const QJsonObject e = stored[1].toObject();
    EXPECT_EQ(e["annotationKind"].toString(), "highlight");
    EXPECT_EQ(e["annotationColor"].toString(), "blue");
    EXPECT_EQ(e["annotationChapter"].toString(), "1 - The Function of Education");
    EXPECT_EQ(e["annotationPage"].toString(), "");
    EXPECT_TRUE(e["annotationLocation"].isNull());
    EXPECT_EQ(e["annotationCreated"].toString(), "");
    EXPECT_EQ(e["annotationModified"].toString(), "2021-11-02T18:15:42Z");
    EXPECT_EQ(stored[0].toObject().keys().size(), 12);

    const QJsonArray book = annotationsOf(cli({"list", "--books", books, "--json", "--order", "book"}));
    EXPECT_EQ(book[0].toObject()["annotationSelectedText"].toString(), "earlier");
    EXPECT_EQ(annotationsOf(cli({"list", "--books", books, "--json", "--order=stored"}))[0]
                  .toObject()["annotationSelectedText"]
                  .toString(),
              "later");
    EXPECT_EQ(cli({"list", "--books", books, "--order", "random"}).exitCode, 2);

    const fs::path out = freshFolder("ordered-export");
    const CliRun run =
        cli({"export", "--books", books, "--order", "book", "--out", QString::fromStdString(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string written = readFile(run.out.substr(0, run.out.size() - 1));
    EXPECT_LT(written.find("> earlier"), written.find("> later"));

    const CliRun kindle =
        cli({"list", "--kindle", QString::fromStdString(kindleSample("desktop-crossed-tags.html")), "--json",
             "--order", "book"});
    const QJsonObject first = annotationsOf(kindle)[0].toObject();
    EXPECT_EQ(first["annotationLocation"].toInt(), 75);
    EXPECT_EQ(first["annotationPage"].toString(), "3");
    EXPECT_EQ(first["annotationColor"].toString(), "yellow");
}
