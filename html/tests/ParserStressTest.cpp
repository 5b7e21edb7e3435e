// Hostile sizes: each parses, serialises and frees without deep recursion or quadratic work.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/TextNode.h"
#include "html/parser/Parser.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

std::string repeat(std::string_view s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i)
        out += s;
    return out;
}

std::size_t depthOfFirstChain(const Node* node) {
    std::size_t depth = 0;
    while (node->hasChildNodes()) {
        node = node->childNode(0);
        ++depth;
    }
    return depth;
}

} // namespace

TEST(ParserStress, MillionNestedDivs) {
    const std::size_t n = 1'000'000;
    std::string input = repeat("<div>", n) + "x";
    Ref<Document> doc = parse(input);
    EXPECT_EQ(depthOfFirstChain(doc->body()), n + 1); // the divs and the text
    const std::string html = doc->body()->outerHtml();
    EXPECT_GT(html.size(), n * 11);
    doc = nullptr;
}

TEST(ParserStress, HundredThousandUnclosedBold) {
    const std::size_t n = 100'000;
    Ref<Document> doc = parse(repeat("<b>", n) + "x" + repeat("<p>y", 10));
    EXPECT_EQ(depthOfFirstChain(doc->body()), n + 1);
    EXPECT_FALSE(doc->outerHtml().empty());
    // Reopening formatting for the paragraphs is bounded: at most three equal entries are kept.
    EXPECT_LT(doc->body()->getElementsByTag("b").size(), n + 100);
}

TEST(ParserStress, FiftyMegabyteTextNode) {
    const std::size_t n = 50u << 20;
    std::string input = "<p>";
    input.append(n, 'a');
    Ref<Document> doc = parse(input);
    Element* p = doc->body()->child(0);
    ASSERT_EQ(p->childNodeSize(), 1u);
    EXPECT_EQ(static_cast<const TextNode*>(p->childNode(0))->getWholeText().size(), n);
    EXPECT_GT(doc->outerHtml().size(), n);
}

TEST(ParserStress, OneMegabyteAttributeValue) {
    const std::size_t n = 1u << 20;
    std::string value(n, 'v');
    value[n / 2] = '&';
    Ref<Document> doc = parse("<a title=\"" + value + "\">x</a>");
    Element* a = doc->body()->child(0);
    EXPECT_EQ(a->attr("title").size(), n);
    EXPECT_GT(a->outerHtml().size(), n);
}

TEST(ParserStress, ManyUnmatchedEndTagsStayLinear) {
    // Every stray end tag walks the open elements until a special one: here at once.
    Ref<Document> doc = parse(repeat("<div>", 1000) + repeat("</x>", 200'000) + "z");
    EXPECT_EQ(depthOfFirstChain(doc->body()), 1001u);
}

TEST(ParserStress, ManyDistinctFormattingElements) {
    // Each <b> differs, so none replaces an earlier one in the formatting list.
    std::string input;
    for (int i = 0; i < 50'000; ++i)
        input += "<b id=" + std::to_string(i) + ">";
    input += "</p>" + repeat("</i>x", 1000);
    Ref<Document> doc = parse(input);
    EXPECT_EQ(doc->body()->getElementsByTag("b").size(), 50'000u);
}
