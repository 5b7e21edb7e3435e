// My Clippings.txt as Kindle e-readers write it: records, languages, notes on either side of
// their highlight, edited highlights, note drafts, the clipping limit, BOMs and CRLF.

#include "notara/core/ClippingsReader.h"
#include "notara/tests/TestSupport.h"

#include <gtest/gtest.h>

using namespace notara;

namespace {

const std::string bom = "\xEF\xBB\xBF";

std::string record(const std::string& title, const std::string& meta, const std::string& text) {
    return bom + title + "\r\n" + meta + "\r\n\r\n" + text + "\r\n==========\r\n";
}

} // namespace

TEST(ClippingsReader, ReadsBooksHighlightsNotesAndSkipsBookmarks) {
    const std::string file =
        record("Stillwater Harbour (Okafor, Ada)",
               "- Your Highlight on page 14 | Location 201-203 | Added on Tuesday, March 4, 2025 9:12:40 PM",
               "The tide came in twice a day.") +
        record("Stillwater Harbour (Okafor, Ada)",
               "- Your Bookmark on page 20 | Location 288 | Added on Tuesday", "") +
        record("Nightwork (Sato, Ren)",
               "- Your Note on Location 842 | Added on Monday, July 13, 2015 4:06:30 AM",
               "Compare with the lighthouse chapter.") +
        record("Nightwork (Sato, Ren)", "- Your Highlight on Location 841-842 | Added on Monday",
               "She walked the last mile.") +
        record("Der Schattenfluss: Roman (German Edition) (Brandt, Jonas)",
               "- Ihre Markierung auf Seite 307 | bei Position 1129-1130 | Hinzugefügt am Freitag",
               "Ein Satz.") +
        record("Der Schattenfluss: Roman (German Edition) (Brandt, Jonas)",
               "- Ihre Notiz auf Seite 307 | bei Position 1130 | Hinzugefügt am Freitag", "Eine Notiz.") +
        record("雨の日 (高橋)", "- 133ページ|位置No. 1647-1648のハイライト |作成日: 2021年11月13日",
               "猫は窓辺で。") +
        record("Paper Cities (Lund, Mira)",
               "- Your Highlight on page 12 | Location 180-181 | Added on Friday",
               "Every map is a promise.") +
        record("Paper Cities (Lund, Mira)",
               "- Your Highlight on page 12 | Location 180-183 | Added on Friday",
               "Every map is a promise, and every traveller a creditor.") +
        record("Paper Cities (Lund, Mira)", "- Your Note on page 13 | Location 190 | Added on Friday",
               "The po") +
        record("Paper Cities (Lund, Mira)", "- Your Note on page 13 | Location 190 | Added on Friday",
               "The point is") +
        record("Tidewater (Ibsen, Kari)",
               "- Your Highlight on page 210 | Location 3180-3185 | Added on Sunday",
               " <You have reached the clipping limit for this item>") +
        bom +
        "Quarterly_Report_Final.pdf  \n- Your Highlight on page 105-105 | Added on Friday\n\nA PDF passage.";
    const auto works = ClippingsReader::read(file);
    std::vector<std::string> titles;
    for (const auto& work : works)
        titles.push_back(work->workTitle + " / " + work->workAuthor + " / " +
                         std::to_string(work->annotations.size()));
    EXPECT_EQ(titles, (std::vector<std::string>{
                          "Der Schattenfluss: Roman (German Edition) / Brandt, Jonas / 1",
                          "Nightwork / Sato, Ren / 1", "Paper Cities / Lund, Mira / 2",
                          "Quarterly_Report_Final.pdf /  / 1", "Stillwater Harbour / Okafor, Ada / 1",
                          "Tidewater / Ibsen, Kari / 1", "雨の日 / 高橋 / 1"}));
    const Annotation& german = *works[0]->annotations[0];
    EXPECT_EQ(german.annotationID.size(), 36u);
    EXPECT_NE(german.annotationID, works[1]->annotations[0]->annotationID);
    EXPECT_EQ(german.annotationUserNotes, "Eine Notiz.");
    EXPECT_EQ(german.annotationPage, "307");
    EXPECT_EQ(german.annotationLocation, 1129);
    EXPECT_EQ(works[1]->annotations[0]->annotationUserNotes,
              "Compare with the lighthouse chapter."); // note before
    const auto& paper = works[2]->annotations;
    EXPECT_EQ(paper[0]->annotationSelectedText, "Every map is a promise, and every traveller a creditor.");
    EXPECT_EQ(paper[1]->annotationKind, Annotation::Kind::Note);
    EXPECT_EQ(paper[1]->annotationUserNotes, "The point is");
    EXPECT_EQ(works[3]->annotations[0]->annotationPage, "105");
    EXPECT_EQ(works[3]->annotations[0]->annotationLocation, std::nullopt);
    EXPECT_EQ(works[5]->annotations[0]->annotationSelectedText,
              "<You have reached the clipping limit for this item>");
    EXPECT_EQ(works[6]->annotations[0]->annotationPage, "133");
    EXPECT_EQ(works[6]->annotations[0]->annotationLocation, 1647);
}

TEST(ClippingsReader, OddInputGivesNothingOrWhatItCan) {
    EXPECT_TRUE(ClippingsReader::read("").empty());
    EXPECT_TRUE(ClippingsReader::read("==========\n==========\n").empty());
    EXPECT_TRUE(ClippingsReader::read("just one line").empty());
    const auto works = ClippingsReader::read("Book (A\xFF)\n- Highlight Loc. 5444-45 | Added\n\nText");
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(works[0]->workAuthor, "A\xEF\xBF\xBD");
    EXPECT_EQ(works[0]->annotations[0]->annotationLocation, 5444);
    // Found by fuzzing: an end with more digits than a start must not be "expanded".
    EXPECT_EQ(ClippingsReader::read("B\n- Highlight Location 12-0000000000000000000000012\n\nT").size(), 1u);
}

TEST(ClippingsReader, CommandLineListsAndExportsAClippingsFile) {
    const std::filesystem::path folder = test::freshFolder("clippings");
    const std::filesystem::path file = folder / "My Clippings.txt";
    std::ofstream(file, std::ios::binary)
        << record("Book (Writer)", "- Your Highlight on Location 10-11 | Added on Monday", "Passage.");
    const std::string before = test::readFile(file);
    test::CliRun run = test::cli({"list", "--clippings", QString::fromStdString(file.native())});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Book\tWriter\t1\n");
    run = test::cli({"export", "--clippings", QString::fromStdString(file.native()), "--out",
                     QString::fromStdString(folder.native())});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::readFile(run.out.substr(0, run.out.size() - 1)),
              "# Book\n**Author**: Writer\n\n> Passage.\n---\n");
    EXPECT_EQ(test::readFile(file), before); // the device's file is only read
    std::ofstream(folder / "empty.txt") << "";
    EXPECT_EQ(
        test::cli({"list", "--clippings", QString::fromStdString((folder / "empty.txt").native())}).exitCode,
        1);
}
