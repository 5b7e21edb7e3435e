// Search across every highlight: folding (case, accents, width), substrings in any script,
// words in any order within one annotation, quoted phrases, title matches, marks in the text.

#include "notara/core/search/SearchIndex.h"
#include "notara/core/search/TextFolder.h"
#include "notara/tests/TestSupport.h"

#include <gtest/gtest.h>

using namespace notara;
using namespace notara::test;

namespace {

WorkPtr work(std::string title, std::string author,
             std::vector<std::pair<std::string, std::string>> entries) {
    auto w = std::make_shared<Work>(std::move(title), std::move(author));
    for (auto& [passage, note] : entries)
        w->annotations.push_back(std::make_shared<Annotation>("id", std::move(passage), std::move(note)));
    return w;
}

// "title: passage" for every match.
std::vector<std::string> found(const SearchIndex& index, std::string_view query) {
    std::vector<std::string> result;
    for (const auto& r : index.search(query)) {
        for (const auto& a : r.annotations)
            result.push_back(
                r.work->workTitle + ": " +
                (a->annotationSelectedText.empty() ? a->annotationUserNotes : a->annotationSelectedText));
    }
    return result;
}

class Search : public ::testing::Test {
protected:
    void SetUp() override {
        index.build(
            {work("Stadtplan", "Anna", {{"Die Straße war leer.", ""}, {"Ein Café am Eck", "crème brûlée"}}),
             work("東京物語", "小津", {{"東京の夜は静かだった。", ""}, {"ＦＵＬＬ width", ""}}),
             work("The River", "Mark Twain", {{"the boat drifted", "slow"}, {"", "a lone note on rivers"}}),
             work("Other", "Someone",
                  {{"drifted boat", ""}, {"boat", "drifted"}, {"the boa", "t drifted"}})});
    }
    SearchIndex index;
};

} // namespace

TEST_F(Search, FoldsCaseAccentsAndWidth) {
    EXPECT_EQ(found(index, "STRASSE"), std::vector<std::string>{"Stadtplan: Die Straße war leer."});
    EXPECT_EQ(found(index, "cafe"), std::vector<std::string>{"Stadtplan: Ein Café am Eck"});
    EXPECT_EQ(found(index, "Crème"), std::vector<std::string>{"Stadtplan: Ein Café am Eck"}); // in the note
    EXPECT_EQ(found(index, "full"), std::vector<std::string>{"東京物語: ＦＵＬＬ width"});
    EXPECT_EQ(found(index, "ＷＩＤＴＨ"), std::vector<std::string>{"東京物語: ＦＵＬＬ width"});
    EXPECT_EQ(found(index, "Cafe\xCC\x81"),
              std::vector<std::string>{"Stadtplan: Ein Café am Eck"}); // decomposed
    EXPECT_TRUE(found(index, "strassen").empty());
    EXPECT_EQ(TextFolder::folded("Ǆ ﬁ Ⅻ"), "dz fi xii");
}

TEST_F(Search, SubstringsInAnyScriptAndEveryWordInOneAnnotation) {
    EXPECT_EQ(found(index, "夜は"), std::vector<std::string>{"東京物語: 東京の夜は静かだった。"});
    EXPECT_EQ(found(index, "drifted boat"), (std::vector<std::string>{"The River: the boat drifted",
                                                                      "Other: drifted boat", "Other: boat"}));
    // A match never runs across two annotations, nor across passage and note.
    EXPECT_EQ(found(index, "\"boat drifted\""), std::vector<std::string>{"The River: the boat drifted"});
    EXPECT_EQ(found(index, "\"the boat\""), std::vector<std::string>{"The River: the boat drifted"});
    EXPECT_TRUE(found(index, "\"boat t\"").empty());
    EXPECT_TRUE(found(index, "\"boa t\"").empty());
    // A title or author match shows every card of the work; the other words may be anywhere.
    EXPECT_EQ(found(index, "twain"),
              (std::vector<std::string>{"The River: the boat drifted", "The River: a lone note on rivers"}));
    EXPECT_EQ(found(index, "twain slow"), std::vector<std::string>{"The River: the boat drifted"});
    EXPECT_EQ(found(index, "rivers"), std::vector<std::string>{"The River: a lone note on rivers"});
}

TEST_F(Search, EmptyBlankAndHugeQueries) {
    EXPECT_TRUE(index.search("").empty());
    EXPECT_TRUE(index.search("   \t ").empty());
    EXPECT_TRUE(index.search("\"\"").empty());
    EXPECT_TRUE(index.search(std::string(10000, 'x')).empty());
    std::string manyWords;
    for (int i = 0; i < 2000; ++i)
        manyWords += "boat ";
    EXPECT_EQ(index.search(manyWords).size(), 2u); // 2000 equal terms: still answered
    EXPECT_EQ(SearchIndex::terms("  a \"b c\" \"unclosed d"),
              (std::vector<std::string>{"a", "b c", "unclosed d"}));
}

TEST(SearchMarks, RangesCoverWholeCharactersInTheOriginalText) {
    using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    const std::string text = "Die Straße und cafe\xCC\x81 \xF0\x9F\x98\x80 caf";
    // "ss" lies inside the two bytes of ß; "cafe" keeps its combining accent.
    EXPECT_EQ(SearchIndex::matchRanges(text, "STRASSE"), (Ranges{{4, 11}}));
    EXPECT_EQ(SearchIndex::matchRanges(text, "cafe"), (Ranges{{16, 22}}));
    EXPECT_EQ(SearchIndex::matchRanges(text, "caf"), (Ranges{{16, 19}, {28, 31}}));
    EXPECT_EQ(SearchIndex::matchRanges(text, "\xF0\x9F\x98\x80"), (Ranges{{23, 27}}));
    EXPECT_EQ(SearchIndex::matchRanges(text, "s"), (Ranges{{4, 5}, {8, 10}}));
    EXPECT_TRUE(SearchIndex::matchRanges(text, " ").empty());
}

TEST(SearchCommand, PrintsMatchesAndSaysWhenThereAreNone) {
    const QString file = QString::fromStdString(kindleSample("desktop-crossed-tags.html"));
    CliRun run = cli({"search", "FATHOMS", "--kindle", file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "The Cartographer\xE2\x80\x99s Quiet Year\tPage 15 \xC2\xB7 Location 310\tThe chart said 5 < 7 "
              "fathoms -- the sea \"disagreed\".\n");
    run = cli({"search", "no such words anywhere", "--kindle", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    run = cli({"search", "--kindle", file, "caf\xC3\xA9", "--json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\"annotationSelectedText\": \"She measured the bay"), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Every map"), std::string::npos);
    EXPECT_EQ(cli({"search", "--kindle", file}).exitCode, 2);
}

TEST(SearchTokens, PunctuationPartsOfWordsAndALibraryIndexedInParts) {
    SearchIndex index;
    index.build(
        {work("Code", "", {{"Learn C++ in a day", ""}, {"O'Brien said: well-known", ""}, {"c and ++", ""}}),
         work("Prose", "", {{"The lighthouse keeper", ""}, {"time, which passes", ""}})});
    EXPECT_EQ(found(index, "c++"), std::vector<std::string>{"Code: Learn C++ in a day"});
    EXPECT_EQ(found(index, "o'brien"), std::vector<std::string>{"Code: O'Brien said: well-known"});
    EXPECT_EQ(found(index, "said:"), std::vector<std::string>{"Code: O'Brien said: well-known"});
    EXPECT_TRUE(found(index, "said;").empty());
    EXPECT_EQ(found(index, "ighthou"), std::vector<std::string>{"Prose: The lighthouse keeper"});
    // Across a word boundary, and only with the punctuation as written.
    EXPECT_EQ(found(index, "\"ime, whi\""), std::vector<std::string>{"Prose: time, which passes"});
    EXPECT_TRUE(found(index, "\"time which\"").empty());
    EXPECT_EQ(found(index, "++"), (std::vector<std::string>{"Code: Learn C++ in a day", "Code: c and ++"}));

    // Large enough to be cut into parts on several threads: every holder of a word shared by
    // the parts is found, in order.
    std::vector<WorkPtr> works;
    std::vector<std::string> expected;
    for (int w = 0; w < 300; ++w) {
        const std::string title = std::string("W").append(std::to_string(w));
        std::vector<std::pair<std::string, std::string>> annotations;
        for (int a = 0; a < 100; ++a) {
            const bool marked = (w * 100 + a) % 997 == 0;
            annotations.push_back(
                {std::string("line ").append(std::to_string(a)).append(marked ? " Zebra" : ""), ""});
            if (marked) expected.push_back(title + ": " + annotations.back().first);
        }
        works.push_back(work(title, "", annotations));
    }
    index.build(works);
    EXPECT_EQ(found(index, "zebra"), expected);
    EXPECT_EQ(index.search("line").size(), 300u);
}
