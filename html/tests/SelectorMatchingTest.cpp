#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/nodes/TextNode.h"
#include "html/parser/Parser.h"
#include "html/parser/Tag.h"
#include "html/select/Collector.h"
#include "html/select/CombiningEvaluator.h"
#include "html/select/StructuralEvaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <utility>

using namespace html;

namespace {

using Attrs = std::initializer_list<std::pair<std::string_view, std::string_view>>;

Element* add(Element* parent, std::string_view tag, Attrs attrs = {}, std::string_view text = {}) {
    Ref<Element> element = make<Element>(Tag::valueOf(tag));
    for (const auto& [key, value] : attrs)
        element->attr(key, value);
    if (!text.empty()) element->appendText(text);
    parent->appendChild(element.get());
    return element.get();
}

void addText(Element* parent, std::string_view text) {
    parent->appendChild(make<TextNode>(text).get());
}

// The "id" attributes of the matches, space separated; elements without one show their tag.
std::string ids(const Elements& elements) {
    std::string out;
    for (const Ref<Element>& e : elements) {
        if (!out.empty()) out += ' ';
        out += e->id().empty() ? e->tagName() : e->id();
    }
    return out;
}

std::string failureMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.message();
    }
    return "(no failure)";
}

// A Kindle-notebook-like page: title, author and entries.
class Notebook : public ::testing::Test {
protected:
    void SetUp() override {
        body = doc->body();
        add(body, "div", {{"class", "bookTitle"}, {"id", "title"}}, "The Book");
        add(body, "div", {{"class", "authors"}, {"id", "author"}}, "Someone");
        for (int i = 1; i <= 3; ++i) {
            addText(body, "\n  ");
            add(body, "DIV", {{"class", "noteHeading extra"}, {"id", std::string("h") + std::to_string(i)}},
                "Highlight");
            add(body, "div",
                {{"class", i == 2 ? "NOTETEXT" : "noteText"}, {"id", std::string("t") + std::to_string(i)}},
                "text");
        }
        add(body, "div", {{"class", "noteTextual"}, {"id", "other"}});
        add(body, "span", {{"class", "noteText"}, {"id", "span"}});
    }

    Ref<Document> doc = Document::createShell("");
    Element* body = nullptr;
};

} // namespace

TEST_F(Notebook, TagAndClassQueriesFindEveryMatchInDocumentOrder) {
    EXPECT_EQ(ids(doc->select("div.noteHeading")), "h1 h2 h3");
    EXPECT_EQ(doc->select("div.noteHeading").first()->id(), "h1");
    EXPECT_EQ(ids(doc->select("DIV.noteText")), "t1 t2 t3");
    EXPECT_EQ(ids(doc->select("div.NoteText")), "t1 t2 t3");
    EXPECT_EQ(ids(doc->select(".noteText")), "t1 t2 t3 span");
    EXPECT_EQ(ids(doc->select("body > div:nth-child(2n+1)")), "title h1 h2 h3 other");
}

TEST_F(Notebook, CollectIncludesTheRootAndSkipsElementsWhoseTestFails) {
    Element* heading = doc->getElementById("h2");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(ids(heading->select(".noteHeading")), "h2");

    // An evaluator that fails on one element: that element is left out, the others still match.
    class FailsOnT2 final : public Evaluator {
    public:
        bool matches(const Element&, const Element& e) const override {
            if (e.id() == "t2") throw Exception(ExceptionType::IllegalArgumentException, "boom");
            return e.hasClass("noteText");
        }
        std::string toString() const override { return "fails"; }
    };
    EXPECT_EQ(ids(Collector::collect(FailsOnT2(), *doc)), "t1 t3 span");
    // Not of a failing evaluator gives false rather than true.
    StructuralEvaluator::Not notFailing(std::make_unique<FailsOnT2>());
    EXPECT_FALSE(notFailing.matches(*doc, *doc->getElementById("t2")));
}

TEST(SelectorMatching, ParentAndImmediateParentStopAtTheRoot) {
    Ref<Document> doc = Document::createShell("");
    Element* div = add(doc->body(), "div", {{"id", "div"}});
    Element* span = add(div, "span", {{"id", "span"}});
    add(span, "p", {{"id", "deep"}});
    add(div, "p", {{"id", "direct"}});

    EXPECT_EQ(ids(doc->select("div > p")), "direct");
    EXPECT_EQ(ids(doc->select("div p")), "deep direct");
    EXPECT_EQ(ids(doc->select("span p")), "deep");
    // Ancestors above the query root are not looked at.
    EXPECT_EQ(ids(span->select("div p")), "");
    EXPECT_EQ(ids(span->select("span p")), "deep");
    EXPECT_EQ(ids(div->select("> p")), "direct");
    EXPECT_EQ(ids(div->select("> *")), "span direct");
}

TEST(SelectorMatching, SiblingCombinators) {
    Ref<Document> doc = Document::createShell("");
    Element* ul = add(doc->body(), "ul");
    for (const char* id : {"a", "b", "c", "d"}) {
        add(ul, "li", {{"id", id}, {"class", std::string_view(id) == "b" ? "x" : ""}});
        addText(ul, " ");
    }
    EXPECT_EQ(ids(doc->select("li.x + li")), "c");
    EXPECT_EQ(ids(doc->select("li.x ~ li")), "c d");
    EXPECT_EQ(ids(doc->select("li + li + li")), "c d");
    EXPECT_EQ(ids(ul->select("+ li")), "");
}

TEST(SelectorMatching, PositionsCountElementsOnly) {
    Ref<Document> doc = Document::createShell("");
    Element* list = add(doc->body(), "ol");
    for (int i = 1; i <= 6; ++i) {
        addText(list, " ");
        add(list, i % 3 == 0 ? "b" : "li", {{"id", std::to_string(i)}});
    }
    addText(list, " ");

    EXPECT_EQ(ids(list->select("> :nth-child(odd)")), "1 3 5");
    EXPECT_EQ(ids(list->select("> :nth-child(even)")), "2 4 6");
    EXPECT_EQ(ids(list->select("> :nth-child(-n+3)")), "1 2 3");
    EXPECT_EQ(ids(list->select("> :nth-child(n+5)")), "5 6");
    EXPECT_EQ(ids(list->select("> :nth-child(4)")), "4");
    EXPECT_EQ(ids(list->select("> :nth-last-child(2)")), "5");
    EXPECT_EQ(ids(list->select("> :nth-last-child(-n+2)")), "5 6");
    EXPECT_EQ(ids(list->select("li:nth-of-type(3)")), "4");
    EXPECT_EQ(ids(list->select("li:nth-last-of-type(1)")), "5");
    EXPECT_EQ(ids(list->select("> :first-of-type")), "1 3");
    EXPECT_EQ(ids(list->select("> :last-of-type")), "5 6");
    EXPECT_EQ(ids(list->select("li:first-child, b:last-child")), "1 6");
    EXPECT_EQ(ids(list->select("> :lt(2)")), "1 2");
    EXPECT_EQ(ids(list->select("> :gt(3)")), "5 6");
    EXPECT_EQ(ids(list->select("> :eq(2)")), "3");
    EXPECT_EQ(ids(list->select(":only-child")), "ol"); // the list is its parent's only child, so far

    Element* lone = add(add(doc->body(), "p"), "em", {{"id", "lone"}});
    EXPECT_EQ(ids(doc->select(":only-child")), "lone");
    EXPECT_EQ(ids(doc->select("em:only-of-type")), "lone");
    EXPECT_TRUE(lone->iS("em:first-child:last-child"));
    // The child of the document is no one's first child.
    EXPECT_EQ(ids(doc->select("html:first-child, html:nth-child(1), html:only-child")), "");
}

TEST(SelectorMatching, RootOnDocumentsAndElements) {
    Ref<Document> doc = Document::createShell("");
    Element* div = add(doc->body(), "div", {{"id", "div"}});
    add(div, "p", {{"id", "p"}});

    EXPECT_EQ(ids(doc->select(":root")), "html");
    EXPECT_EQ(ids(div->select(":root")), "div");
    EXPECT_EQ(ids(div->select(":root > p")), "p");
    EXPECT_TRUE(doc->body()->parent()->iS(":root"));
}

TEST(SelectorMatching, HasAndNotNest) {
    Ref<Document> doc = Document::createShell("");
    Element* a = add(doc->body(), "div", {{"id", "a"}});
    add(a, "p", {{"class", "x"}});
    Element* b = add(doc->body(), "div", {{"id", "b"}});
    add(add(b, "span"), "p");
    add(doc->body(), "div", {{"id", "c"}});

    EXPECT_EQ(ids(doc->select("div:has(p)")), "a b");
    EXPECT_EQ(ids(doc->select("div:has(p.x)")), "a");
    EXPECT_EQ(ids(doc->select("div:not(:has(p))")), "c");
    EXPECT_EQ(ids(doc->select("div:has(span p)")), "b");
    EXPECT_EQ(ids(doc->select("div:has(:not(p))")), "b");
    EXPECT_EQ(ids(doc->select("p:not(.x)")), "p");
    EXPECT_EQ(ids(doc->select("div:not(#a):not(#c)")), "b");
    // :has looks only below the element.
    EXPECT_EQ(ids(doc->select("p:has(p)")), "");
}

TEST(SelectorMatching, AttributeOperatorsCompareIgnoringCase) {
    Ref<Document> doc = Document::createShell("");
    Element* body = doc->body();
    add(body, "a", {{"id", "1"}, {"HREF", "Doc.PDF"}, {"data-x", " Y "}});
    add(body, "a", {{"id", "2"}, {"href", "http://x/y"}, {"data-y", "12"}});
    add(body, "a", {{"id", "3"}});

    EXPECT_EQ(ids(body->select("[href]")), "1 2");
    EXPECT_EQ(ids(body->select("[^DATA-]")), "1 2");
    EXPECT_EQ(ids(body->select("[data-x = 'Y']")), "1");
    EXPECT_EQ(ids(body->select("[data-x=\"y\"]")), "1");
    EXPECT_EQ(ids(body->select("[href$=.pdf]")), "1");
    EXPECT_EQ(ids(body->select("[href^=HTTP]")), "2");
    EXPECT_EQ(ids(body->select("[href*=/X/]")), "2");
    EXPECT_EQ(ids(body->select("a[href!=doc.pdf]")), "2 3");
    EXPECT_EQ(ids(body->select("[data-y~=^\\d+$]")), "2");
    EXPECT_EQ(ids(body->select("[data-y~=\\d]")), "2");
}

TEST(SelectorMatching, TextPseudoClasses) {
    Ref<Document> doc = Document::createShell("");
    Element* p = add(doc->body(), "p", {{"id", "p"}}, "Hello a)b ");
    add(p, "b", {{"id", "b"}}, "World 42");

    EXPECT_EQ(ids(doc->select(R"(p:contains(a\)b))")), "p");
    EXPECT_EQ(ids(doc->select(":containsOwn(WORLD)")), "b");
    EXPECT_EQ(ids(doc->select("p:containsOwn(world)")), "");
    EXPECT_EQ(ids(doc->select("p:contains(world)")), "p");
    EXPECT_EQ(ids(doc->select(":matches(World \\d+)")), "#root html body p b");
    EXPECT_EQ(ids(doc->select(":matchesOwn(^Hello)")), "p");
}

TEST(SelectorMatching, RegexThatDoesNotCompileMatchesNothingAndSaysSoPerElement) {
    Ref<Document> doc = Document::createShell("");
    add(doc->body(), "p", {}, "x[");
    testing::internal::CaptureStdout();
    const Elements found = doc->select("p:matches([)");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(found.isEmpty());
    // Tested once: only the p gets past the tag test.
    EXPECT_EQ(out.rfind("invalid regex: ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);

    // A runaway expression gives up instead of backtracking for ages.
    add(doc->body(), "p", {}, std::string(40, 'a'));
    EXPECT_TRUE(doc->select("p:matches((a*)*b)").isEmpty());
}

TEST(SelectorMatching, ElementQueryShortcuts) {
    Ref<Document> doc = Document::createShell("");
    Element* body = doc->body();
    add(body, "div", {{"id", "a"}, {"class", "One two"}, {"data-k", "v1"}}, "first text");
    add(body, "div", {{"id", "b"}, {"class", "two"}}, "second");

    EXPECT_EQ(doc->getElementById("b")->id(), "b");
    EXPECT_EQ(doc->getElementById("B"), nullptr);
    EXPECT_EQ(ids(doc->getElementsByClass("TWO")), "a b");
    EXPECT_EQ(ids(doc->getElementsByAttribute(" data-k ")), "a");
    EXPECT_EQ(ids(doc->getElementsByAttributeStarting("DATA")), "a");
    EXPECT_EQ(ids(doc->getElementsByAttributeValue("data-k", "V1")), "a");
    EXPECT_EQ(ids(doc->getElementsByAttributeValueNot("data-k", "v1")), "#root html head body b");
    EXPECT_EQ(ids(doc->getElementsByAttributeValueMatching("id", "^[ab]$")), "a b");
    EXPECT_EQ(ids(body->getElementsByIndexEquals(1)), "body b");
    EXPECT_EQ(ids(doc->getElementsContainingOwnText("SECOND")), "b");
    EXPECT_EQ(ids(doc->getElementsMatchingOwnText("t\\b")), "a");
    EXPECT_EQ(body->getAllElements().size(), 3u);

    EXPECT_EQ(failureMessage([&] { doc->getElementById(""); }), "String must not be empty");
    EXPECT_EQ(failureMessage([&] { doc->getElementsByAttributeValue("k", ""); }), "String must not be empty");
    EXPECT_EQ(failureMessage([&] { doc->getElementsMatchingText("(x"); }), "Pattern syntax error: (x");
    EXPECT_EQ(failureMessage([&] { doc->getElementsByAttributeValueMatching("id", "[a"); }),
              "Pattern syntax error: [a");
    EXPECT_EQ(failureMessage([&] { doc->select(" \t"); }), "String must not be empty");
}

TEST(SelectorMatching, ElementsSelectNotAndIs) {
    Ref<Document> doc = Document::createShell("");
    Element* outer = add(doc->body(), "div", {{"id", "outer"}});
    add(outer, "p", {{"id", "p1"}});
    Element* inner = add(outer, "div", {{"id", "inner"}});
    add(inner, "p", {{"id", "p2"}, {"class", "x"}});

    // The inner root's matches were already found through the outer root: listed once.
    const Elements roots{inner, outer};
    EXPECT_EQ(ids(roots.select("p")), "p2 p1");
    EXPECT_EQ(ids(roots.select("div")), "inner outer");
    EXPECT_EQ(ids(doc->select("p").not_(".x")), "p1");
    EXPECT_TRUE(doc->select("p").iS(".x"));
    EXPECT_FALSE(doc->select("p").iS("div"));

    // Outside a document nothing matches iS.
    Ref<Element> detached = make<Element>(Tag::valueOf("p"));
    EXPECT_FALSE(detached->iS("p"));
    EXPECT_FALSE(Elements{detached.get()}.iS("p"));
    EXPECT_TRUE(inner->iS("div > div#inner"));
}

TEST(SelectorMatching, DeepTreesNeedNoRecursion) {
    Ref<Document> doc = Document::createShell("");
    Element* node = doc->body();
    for (int i = 0; i < 200000; ++i)
        node = add(node, i % 2 ? "span" : "div");
    node->attr("id", "bottom");
    EXPECT_EQ(doc->select("span").size(), 100000u);
    EXPECT_EQ(ids(doc->select("#bottom:empty")), "bottom");
}

TEST(SelectorMatching, AncestorAndSiblingChainsStayLinear) {
    // Each combinator of these queries would multiply the work by the depth (or width) if every
    // element walked its ancestors (or earlier siblings) anew.
    Ref<Document> doc = Document::createShell("");
    Element* node = doc->body();
    for (int i = 0; i < 3000; ++i)
        node = add(node, "a");
    EXPECT_EQ(doc->select("x a a a").size(), 0u);
    EXPECT_EQ(doc->select("body a a a").size(), 2998u);

    Element* wide = add(doc->body(), "ul");
    for (int i = 0; i < 20000; ++i)
        add(wide, i == 10000 ? "b" : "li");
    EXPECT_EQ(wide->select("x ~ li ~ li").size(), 0u);
    EXPECT_EQ(wide->select("b ~ li ~ li").size(), 9998u);
    EXPECT_EQ(wide->select("li:nth-last-child(3)").size(), 1u);
}

// Queries change nothing, so a const tree can be asked; the matches are the tree's own nodes.
TEST(SelectorMatching, QueriesRunOnAConstTree) {
    Ref<Document> doc = parse("<div id=a class=c><p>x</p><p class=c>y</p></div>");
    const Element& body = *doc->body();
    EXPECT_EQ(body.select("p.c").size(), 1u);
    EXPECT_EQ(body.getElementsByTag("p").size(), 2u);
    EXPECT_EQ(body.getElementsByClass("c").size(), 2u);
    EXPECT_EQ(body.getElementById("a"), doc->body()->child(0));
    EXPECT_EQ(body.getElementById("a")->cssSelector(), "#a");
    EXPECT_TRUE(body.child(0)->iS("div.c"));
    body.getElementById("a")->attr("title", "editable");
    EXPECT_EQ(doc->select("[title=editable]").size(), 1u);
}
