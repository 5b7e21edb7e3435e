// My Clippings.txt as Kindle e-readers write it: records, languages, notes on either side of
// their highlight, edited highlights, note drafts, the clipping limit, BOMs and CRLF.

#include "notara/core/sources/clippings/ClippingsReader.h"
#include "notara/core/sources/clippings/ClippingsDate.h"
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
    // A location beyond what any book has is held at the largest one kept, not wrapped around.
    const auto huge = ClippingsReader::read("B\n- Highlight Location 99999999999-99999999999\n\nT");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0]->annotations[0]->annotationLocation, INT32_MAX);
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

namespace {

// Dates are the device's local time; the tests fix this computer's zone.
class ClippingsDates : public ::testing::Test {
protected:
    void SetUp() override { setZone("UTC0"); }
    void TearDown() override { setZone(saved_ ? saved_->c_str() : nullptr); }
    static void setZone(const char* zone) {
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_ =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

} // namespace

TEST_F(ClippingsDates, EveryLanguageAndFirmwareForm) {
    const std::pair<const char*, const char*> cases[] = {
        {" Added on Tuesday, March 4, 2025 9:12:40 PM", "2025-03-04T21:12:40Z"},
        {" Added on Tuesday, July 14, 2015 12:57:51 AM", "2015-07-14T00:57:51Z"},
        {" Added on Thursday, December 26, 2013 12:09:46 PM", "2013-12-26T12:09:46Z"},
        {" Added on Saturday, October 31, 2009, 09:25 AM", "2009-10-31T09:25:00Z"},
        {" Added on Monday, 3 December 12 19:00:12 Greenwich Mean Time", "2012-12-03T19:00:12Z"},
        {" Added on Wednesday, 5 December 12 21:53:37 GMT+00:59", "2012-12-05T21:53:37Z"},
        {" Added on Monday, 10 March 2014 14:34:24", "2014-03-10T14:34:24Z"},
        {" Hinzugefügt am Freitag, 19. Dezember 2014 08:52:50", "2014-12-19T08:52:50Z"},
        {" Hinzugefügt am Donnerstag, 22. März 2024 18:10:53", "2024-03-22T18:10:53Z"},
        {" Ajouté le jeudi 3 juillet 2025 14:06:49", "2025-07-03T14:06:49Z"},
        {" Ajouté le samedi 16 juin 2012 à 22:40:52", "2012-06-16T22:40:52Z"},
        {" Añadido el sábado, 8 de enero de 2022 2:46:29", "2022-01-08T02:46:29Z"},
        {" Aggiunto in data giovedì 22 agosto 2024 18:10:53", "2024-08-22T18:10:53Z"},
        {" Adicionado: segunda-feira, 26 de outubro de 2020 19:05:46", "2020-10-26T19:05:46Z"},
        {" Toegevoegd op donderdag 22 augustus 2024 18:10:53", "2024-08-22T18:10:53Z"},
        {" Добавлено: понедельник, 16 марта 2015 г. в 21:46:06", "2015-03-16T21:46:06Z"},
        {"作成日: 2021年11月13日土曜日 12:54:43", "2021-11-13T12:54:43Z"},
        {" 添加于 2018年7月7日星期六 下午1:26:46", "2018-07-07T13:26:46Z"},
        {" 添加于 2016年4月4日星期一 上午8:33:27", "2016-04-04T08:33:27Z"},
        {" 添加于2013年12月24日星期二 下午09:10:24", "2013-12-24T21:10:24Z"},
        {" 添加于 2016年4月4日星期一 上午12:03:00", "2016-04-04T00:03:00Z"},
    };
    for (const auto& [field, expected] : cases)
        EXPECT_EQ(ClippingsDate().parse(field).view(), expected) << field;
}

TEST_F(ClippingsDates, UnreadableDatesAreEmptyAndTheRecordIsKept) {
    for (const char* field : {"", " Added on Tuesday", " Added on February 30, 2025 9:12:40 PM",
                              " Added on Smarch 4, 2025 9:12:40 PM", " Added on March 4, 2025 13:12:40 PM",
                              " Added on March 4, 2025 25:12:40", " 4 2025 10:00:00"})
        EXPECT_TRUE(ClippingsDate().parse(field).empty()) << field;
    const auto works = ClippingsReader::read(
        record("Book (A)", "- Your Highlight on Location 5 | Added on Someday, 2025", "Kept."));
    ASSERT_EQ(works.size(), 1u);
    EXPECT_TRUE(works[0]->annotations[0]->annotationCreated.empty());
}

TEST_F(ClippingsDates, LocalTimeBecomesUtcAndNotesDateTheirHighlight) {
    setZone("CET-1CEST,M3.5.0,M10.5.0/3"); // central Europe, with summer time
    EXPECT_EQ(ClippingsDate().parse(" Added on Friday, January 10, 2025 9:00:00 AM").view(),
              "2025-01-10T08:00:00Z");
    EXPECT_EQ(ClippingsDate().parse(" Added on Thursday, July 10, 2025 9:00:00 AM").view(),
              "2025-07-10T07:00:00Z");
    setZone("UTC0");
    const auto works = ClippingsReader::read(
        record("Book (A)", "- Your Highlight on Location 10-12 | Added on Friday, June 6, 2025 8:01:10 PM",
               "A passage.") +
        record("Book (A)", "- Your Note on Location 12 | Added on Friday, June 6, 2025 8:05:00 PM",
               "Later note."));
    ASSERT_EQ(works.size(), 1u);
    ASSERT_EQ(works[0]->annotations.size(), 1u);
    EXPECT_EQ(works[0]->annotations[0]->annotationCreated, "2025-06-06T20:01:10Z");
    EXPECT_EQ(works[0]->annotations[0]->annotationModified, "2025-06-06T20:05:00Z");
}

TEST(ClippingsFile, BadFilesSayWhyAndLoadNothing) {
    const auto folder = notara::test::freshFolder("clippings-files");
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    };
    const std::string good =
        record("Salt Roads (Hart, Lena)", "- Your Highlight on Location 3 | Added on", "Café");
    std::string latin1 = good;
    latin1.replace(latin1.find("Caf\xC3\xA9"), 5, "Caf\xE9 au lait"); // é in Latin-1
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string(
             "Salt Roads (Hart, Lena)\r\n- Your Highlight on Location 3\r\n\r\nTide\r\n==========\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    std::string problem;
    const std::pair<std::string, std::string> bad[] = {
        {"empty.txt", ""},
        {"latin1.txt", latin1},
        {"notes.txt", "Just some notes of mine.\nNothing else.\n"},
        {"bookmarks.txt", record("Book (A)", "- Your Bookmark on Location 5 | Added on", "")},
    };
    for (const auto& [name, bytes] : bad) {
        EXPECT_TRUE(ClippingsReader::readFile(write(name, bytes), problem).empty()) << name;
        EXPECT_FALSE(problem.empty()) << name;
    }
    ClippingsReader::readFile(write("latin1.txt", latin1), problem);
    EXPECT_NE(problem.find("not UTF-8"), std::string::npos);
    EXPECT_TRUE(ClippingsReader::readFile(folder / "missing.txt", problem).empty());
    EXPECT_NE(problem.find("cannot be read"), std::string::npos);

    // Re-saved as UTF-16 by an editor, or cut short inside a character: still read.
    auto works = ClippingsReader::readFile(write("utf16.txt", utf16), problem);
    ASSERT_EQ(works.size(), 1u) << problem;
    EXPECT_EQ(works[0]->annotations[0]->annotationSelectedText, "Tide");
    works =
        ClippingsReader::readFile(write("cut.txt", good + "Book (A)\n- Your Highlight\n\nA\xC3"), problem);
    EXPECT_EQ(works.size(), 2u) << problem;
    EXPECT_TRUE(problem.empty());
}

TEST(ClippingsReader, EveryLanguagesRecordLine) {
    struct Case {
        const char* meta;
        const char* page;
        std::int64_t location;
        bool note;
    };
    const Case cases[] = {
        {"- Highlight Loc. 5444-45 | Added on Saturday, October 31, 2009, 09:25 AM", "", 5444, false},
        {"- Highlight on Page 4 | Loc. 150-51  | Added on Wednesday, 5 December 12 21:53:37 GMT+00:59", "4",
         150, false},
        {"- Your Highlight at location 6418-6419 | Added on Monday, 10 March 2014 14:34:24", "", 6418, false},
        {"- Clip This Article at Location 850 | Added on Thursday, 27 March 2014 10:01:23", "", 850, false},
        {"- Votre surlignement sur la page 14 | emplacement 122-123 | Ajouté le jeudi 3 juillet 2025 "
         "14:06:49",
         "14", 122, false},
        {"- Votre note sur la page 14 | emplacement 123 | Ajouté le jeudi 3 juillet 2025 14:06:49", "14", 123,
         true},
        {"- La subrayado en la página 174 | posición 2654-2660 | Añadido el sábado, 8 de enero de 2022 "
         "2:46:29",
         "174", 2654, false},
        {"- La tua evidenziazione a pagina 112 | posizione 1300-1301 | Aggiunto in data giovedì 22 agosto "
         "2024 "
         "18:10:53",
         "112", 1300, false},
        {"- Seu destaque ou posição 6359-6359 | Adicionado: segunda-feira, 17 de junho de 2019 20:04:18", "",
         6359, false},
        {"- Your Highlight on Location na página 17 | posição 251-252 | Adicionado: quarta-feira, 11 de "
         "outubro de "
         "2023 07:05:26",
         "17", 251, false},
        {"- Je highlight op pagina 112 | locatie 1300 t/m 1301 | Toegevoegd op donderdag 22 augustus 2024 "
         "18:10:53",
         "112", 1300, false},
        {"– Ваш выделенный отрывок в месте 637–640 | Добавлено: понедельник, 16 марта 2015 г. в 21:46:06", "",
         637, false},
        {"- Ваша заметка на странице 112 | Место 1301 | Добавлено: понедельник, 16 марта 2015 г. в 21:46:06",
         "112", 1301, true},
        {"- 您在第 22 页（位置 #290-291）的标注 | 添加于 2016年4月4日星期一 上午8:33:27", "22", 290, false},
        {"- 您在位置 #8327-8327的笔记 | 添加于 2018年7月7日星期六 下午1:26:46", "", 8327, true},
        {"- 133ページ|位置No. 1647-1648のハイライト |作成日: 2021年11月13日土曜日 12:54:43", "133", 1647,
         false},
    };
    for (const Case& c : cases) {
        const auto works = ClippingsReader::read(record("Book (Lena Hart;Tomas Vik)", c.meta, "Text."));
        ASSERT_EQ(works.size(), 1u) << c.meta;
        EXPECT_EQ(works[0]->workAuthor, "Lena Hart;Tomas Vik");
        const Annotation& a = *works[0]->annotations.at(0);
        EXPECT_EQ(a.annotationPage, c.page) << c.meta;
        EXPECT_EQ(a.annotationLocation, c.location) << c.meta;
        EXPECT_EQ(a.annotationKind == Annotation::Kind::Note, c.note) << c.meta;
        EXPECT_FALSE(a.annotationCreated.empty()) << c.meta;
    }
    // A title the device cut short, with no closing parenthesis: a title without author.
    const auto works = ClippingsReader::read(
        record("Очень длинное название книги (Толст", "- Your Highlight on Location 5 | Added on", "Текст."));
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(works[0]->workTitle, "Очень длинное название книги (Толст");
    EXPECT_EQ(works[0]->workAuthor, "");
}
