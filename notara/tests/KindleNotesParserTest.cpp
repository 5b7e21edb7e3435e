#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include <unistd.h>

#include "notara/core/model/Annotation.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"
#include "notara/tests/TestSupport.h"

namespace fs = std::filesystem;
using notara::KindleNotesParser;
using notara::test::kindleSample;

namespace {

// A page written to a fresh file, for the cases small enough to read inline.
fs::path writePage(const std::string& name, const std::string& bytes) {
    fs::path dir = fs::temp_directory_path() / ("notara-kindle-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Imported {
    std::vector<std::shared_ptr<notara::Work>> works;
    std::string printed;
};

Imported import(const std::optional<fs::path>& path) {
    KindleNotesParser parser;
    parser.fileURL = path;
    testing::internal::CaptureStdout();
    Imported result;
    result.works = parser.parseWorks();
    result.printed = testing::internal::GetCapturedStdout();
    return result;
}

// (selected text, note) of every annotation, in order.
std::vector<std::pair<std::string, std::string>> entries(const notara::Work& work) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& a : work.annotations) {
        EXPECT_EQ(a->annotationRepText, a->annotationSelectedText);
        EXPECT_EQ(a->annotationLocationRawText, "");
        out.emplace_back(a->annotationSelectedText, a->annotationUserNotes);
    }
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

} // namespace

TEST(KindleNotesParser, DesktopExportWithCrossedEndTags) {
    Imported r = import(kindleSample("desktop-crossed-tags.html"));
    ASSERT_EQ(r.works.size(), 1u);
    EXPECT_EQ(r.printed, "");
    const notara::Work& work = *r.works[0];
    EXPECT_EQ(work.workTitle, "The Cartographer\u2019s Quiet Year");
    EXPECT_EQ(work.workAuthor, "Okonkwo-Lind, Therese");
    EXPECT_EQ(work.workID, "");
    EXPECT_EQ(entries(work), (Pairs{{"Every map is a promise that someone walked there first & came back.",
                                     "Compare with the harbour chapter."},
                                    {"She measured the bay in footsteps, not in miles \u2014 the footsteps "
                                     "were \u201ctruer\u201d, said "
                                     "the na\u00efve clerk at the caf\u00e9.",
                                     ""},
                                    {"Depth is what you learn when the line runs out.", ""},
                                    {"The chart said 5 < 7 fathoms -- the sea \"disagreed\".",
                                     "Second thoughts: this is the thesis."},
                                    {"", "A second note in a row stands on its own."}}));

    std::set<std::string> ids;
    for (const auto& a : work.annotations) {
        EXPECT_TRUE(
            std::regex_match(a->annotationID, std::regex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")))
            << a->annotationID;
        ids.insert(a->annotationID);
    }
    EXPECT_EQ(ids.size(), work.annotations.size());
}

TEST(KindleNotesParser, MobileNotebookForLayoutInGerman) {
    Imported r = import(kindleSample("mobile-notebook-for-de.html"));
    ASSERT_EQ(r.works.size(), 1u);
    EXPECT_EQ(r.works[0]->workTitle, "Die Uhrmacherin von Lindau");
    EXPECT_EQ(r.works[0]->workAuthor, "Jördis Falkenrath");
    // The note before the first highlight stands alone; the bookmark yields nothing.
    EXPECT_EQ(entries(*r.works[0]), (Pairs{{"", "Vorab: die Widmung noch einmal lesen."},
                                           {"Die Zeit geht nicht, sie wird gemessen – und dabei verändert.",
                                            "Schöner Satz für den Vortrag über Zeitmessung."},
                                           {"„Ein Zahnrad allein ist nur Metall.“", ""}}));
}

TEST(KindleNotesParser, MobileNotebookExportLayoutInJapanese) {
    Imported r = import(kindleSample("mobile-notebook-export-ja.html"));
    ASSERT_EQ(r.works.size(), 1u);
    EXPECT_EQ(r.works[0]->workTitle, "雨の日の猫たち");
    // The withheld highlight has no text, so the note after it must not go to an earlier one.
    EXPECT_EQ(entries(*r.works[0]), (Pairs{{"猫は窓辺で雨の音を数えていた。", "冒頭の一文。好き。"},
                                           {"", "この部分は出版社の制限で表示されない。"},
                                           {"矢印 -> は「次へ」という意味だ、と彼は言った。", ""}}));
}

TEST(KindleNotesParser, HeadingWordsDecideWithoutTheColourSpan) {
    auto page = [](const std::string& body) {
        return "<div class=bookTitle>T</div><div class=authors>A</div>" + body;
    };
    auto entry = [](const std::string& heading, const std::string& text) {
        return "<div class=noteHeading>" + heading + "</div><div class=noteText>" + text + "</div>";
    };
    Imported r = import(writePage(
        "words.html", page(entry("Highlight (yellow) - Location 10", "A") + entry("Note - Location 10", "B") +
                           entry("Bookmark - Location 11", "ignored") + entry("highlight - location 3", "C") +
                           entry("Surlignement - Emplacement 4", "D") + entry("备注 - 位置 4", "E") +
                           entry("Note and Highlight", "F") + entry("Notiz", "G") + entry("NOTE", "H"))));
    ASSERT_EQ(r.works.size(), 1u);
    EXPECT_EQ(entries(*r.works[0]), (Pairs{{"A", "B"}, {"C", ""}, {"D", "E"}, {"F", "G"}, {"", "H"}}));
}

TEST(KindleNotesParser, NotesOnlyExportWithByteOrderMarkKeepsEveryNote) {
    Imported r = import(writePage("notes.html",
                                  "\xEF\xBB\xBF<!DOCTYPE html><div class=\"bookTitle\">  The\n  Book </div>"
                                  "<div class=\"noteHeading\">Note - Location 1</div>"
                                  "<div class=\"noteText\">first</div>"
                                  "<div class=\"noteHeading\">Note - Location 2</div>"
                                  "<div class=\"noteText\">second</div>"));
    ASSERT_EQ(r.works.size(), 1u);
    EXPECT_EQ(r.works[0]->workTitle, "The Book");
    EXPECT_EQ(r.works[0]->workAuthor, "No Author Found");
    EXPECT_EQ(entries(*r.works[0]), (Pairs{{"", "first"}, {"", "second"}}));
}

TEST(KindleNotesParser, PagesWithoutTitleOrEntries) {
    EXPECT_TRUE(import(writePage("empty.html", "")).works.empty());
    Imported untitled = import(
        writePage("untitled.html",
                  "<div class=noteHeading>Highlight</div><div class=noteText>lost without a title</div>"));
    EXPECT_TRUE(untitled.works.empty());
    EXPECT_EQ(untitled.printed, "");

    Imported bare = import(writePage("bare.html", "<p class=bookTitle></p><div class=authors>Someone</div>"));
    ASSERT_EQ(bare.works.size(), 1u);
    EXPECT_EQ(bare.works[0]->workTitle, "");
    EXPECT_TRUE(bare.works[0]->annotations.empty());
}

TEST(KindleNotesParser, FailuresPrintOneLineAndGiveNothing) {
    Imported unset = import(std::nullopt);
    EXPECT_TRUE(unset.works.empty());
    EXPECT_EQ(unset.printed, "");

    for (const fs::path& path : {writePage("latin1.html", "<div class=bookTitle>Caf\xE9</div>"),
                                 writePage("truncated.html", "<div class=bookTitle>\xE3\x81</div>"),
                                 fs::path("/nonexistent/notebook.html"), fs::temp_directory_path()}) {
        Imported r = import(path);
        EXPECT_TRUE(r.works.empty()) << path;
        ASSERT_FALSE(r.printed.empty()) << path;
        EXPECT_EQ(r.printed.find('\n'), r.printed.size() - 1) << r.printed;
    }
}

TEST(KindleNotesParser, EveryCallMakesNewObjects) {
    Imported first = import(kindleSample("desktop-crossed-tags.html"));
    Imported second = import(kindleSample("desktop-crossed-tags.html"));
    ASSERT_EQ(first.works.size(), 1u);
    ASSERT_EQ(second.works.size(), 1u);
    EXPECT_NE(first.works[0]->id, second.works[0]->id);
    EXPECT_NE(first.works[0]->annotations[0]->annotationID, second.works[0]->annotations[0]->annotationID);
}
