#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/parser/Parser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace html;

namespace {

std::string readCorpusPage() {
    std::vector<std::string> candidates;
    if (const char* source = std::getenv("NOTARA_SOURCE_DIR"))
        candidates.push_back(std::string(source) + "/../shared/corpus/whatwg-source.html");
    candidates.push_back("/work/shared/corpus/whatwg-source.html");
    for (const std::string& path : candidates) {
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    return {};
}

// The element's selector finds exactly the element again.
::testing::AssertionResult roundTrips(Document& doc, Element& element) {
    const std::string selector = element.cssSelector();
    const Elements found = doc.select(selector);
    if (found.size() == 1 && found.first() == &element) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "'" << selector << "' finds " << found.size() << " elements";
}

} // namespace

TEST(CssSelector, BuildsFromIdsTagsClassesAndPositions) {
    Ref<Document> doc =
        Parser::parse("<div id=main><p class='a b'>1</p><p class=a>2</p><p>3</p>"
                      "<ns:x>4</ns:x></div><div><span>5</span><span id='two words'>6</span></div>");
    const Elements p = doc->select("p");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p.get(0)->cssSelector(), "#main > p.a.b");
    // Two elements fit "p.a": the position tells them apart.
    EXPECT_EQ(p.get(1)->cssSelector(), "#main > p.a:nth-child(2)");
    EXPECT_EQ(p.get(2)->cssSelector(), "#main > p:nth-child(3)");
    EXPECT_EQ(doc->select("ns|x").first()->cssSelector(), "#main > ns|x");
    // An id the parser cannot read back is not used.
    Element* six = doc->getElementById("two words");
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->cssSelector(), "html > body > div:nth-child(2) > span:nth-child(2)");
    for (const Ref<Element>& e : doc->select("*")) {
        if (e.get() != doc.get()) {
            EXPECT_TRUE(roundTrips(*doc, *e));
        }
    }
}

TEST(CssSelector, DuplicateIdsFallBackToThePath) {
    Ref<Document> doc = Parser::parse("<p id=x>1</p><p id=x>2</p>");
    const Elements p = doc->select("#x");
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p.get(1)->cssSelector(), "html > body > p:nth-child(2)");
    EXPECT_TRUE(roundTrips(*doc, *p.get(0)));
    EXPECT_TRUE(roundTrips(*doc, *p.get(1)));
}

TEST(CssSelector, NamesTheParserCannotReadBackBecomeTheUniversalSelector) {
    Ref<Document> doc = Parser::parse("<div><a|b class='x y!'>1</a|b><i>2</i></div>");
    Element* odd = doc->body()->child(0)->child(0);
    ASSERT_EQ(odd->tagName(), "a|b");
    EXPECT_EQ(odd->cssSelector(), "html > body > div > *.x");
    EXPECT_TRUE(roundTrips(*doc, *odd));
}

TEST(CssSelector, RoundTripsOnARealPage) {
    const std::string page = readCorpusPage();
    if (page.empty()) GTEST_SKIP() << "corpus page not found";
    Ref<Document> doc = Parser::parse(page);
    const Elements all = doc->select("*");
    ASSERT_GT(all.size(), 10000u);
    // A spread of elements: every few thousandth, plus the deepest-nested and the last.
    std::size_t checked = 0;
    for (std::size_t i = 1; i < all.size(); i += all.size() / 40) {
        EXPECT_TRUE(roundTrips(*doc, *all.get(i)));
        ++checked;
    }
    EXPECT_TRUE(roundTrips(*doc, *all.last()));
    EXPECT_GE(checked, 40u);
}

TEST(Select, QueriesOnAParsedPage) {
    Ref<Document> doc =
        Parser::parse("<!doctype html><html><head><title>T</title></head><body>"
                      "<div class=bookTitle>Book</div><div class=authors>A</div>"
                      "<div class=noteHeading>Highlight(<span class=highlight_yellow>yellow</span>)</div>"
                      "<div class=noteText>One</div>"
                      "<div class=noteHeading>Note</div><div class=noteText>Two</div></body></html>");
    EXPECT_EQ(doc->select(":root").first()->tagName(), "html");
    EXPECT_EQ(doc->select("div.noteText").text(), "One Two");
    EXPECT_EQ(doc->select("div:has(span[class^=highlight_])").text(), "Highlight(yellow)");
    EXPECT_EQ(doc->select("body > div:nth-child(2n+1)").size(), 3u);
    EXPECT_EQ(doc->select("div.noteHeading + div").text(), "One Two");
    EXPECT_EQ(doc->select("title:containsOwn(t)").size(), 1u);
}
