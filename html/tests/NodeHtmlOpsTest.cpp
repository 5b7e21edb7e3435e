#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/parser/Parser.h"
#include "html/tests/TreeShape.h"

#include <gtest/gtest.h>

using namespace html;
using html::test::inner;

namespace {

Ref<Document> doc(std::string_view html) {
    return parse(html);
}

} // namespace

TEST(NodeHtmlOps, HtmlReplacesTheChildren) {
    Ref<Document> d = doc("<div id=a><p>old</p></div>");
    Element* div = d->body()->child(0);
    div->html("<b>x</b>y");
    EXPECT_EQ(inner(*d->body()), "<div id=\"a\"><b>x</b>y</div>");
    EXPECT_EQ(div->child(0)->parent(), div);
    EXPECT_EQ(div->childNode(1)->siblingIndex(), 1);
}

TEST(NodeHtmlOps, AppendAndPrependParseInTheElementsContext) {
    Ref<Document> d = doc("<table><tr><td>1</td></tr></table><ul><li>b</li></ul>");
    Element* tr = d->body()->child(0)->child(0)->child(0);
    tr->append("<td>2</td>");
    tr->prepend("<td>0</td>");
    EXPECT_EQ(inner(*tr), "<td>0</td><td>1</td><td>2</td>");
    Element* ul = d->body()->child(1);
    ul->prepend("<li>a");
    ul->append("<li>c</li><li>d");
    EXPECT_EQ(inner(*ul), "<li>a</li><li>b</li><li>c</li><li>d</li>");
    for (std::size_t i = 0; i < ul->childNodeSize(); ++i)
        EXPECT_EQ(ul->childNode(i)->siblingIndex(), static_cast<int>(i));
}

TEST(NodeHtmlOps, BeforeAndAfterInsertSiblings) {
    Ref<Document> d = doc("<div><p>b</p></div>");
    Element* p = d->body()->child(0)->child(0);
    p->before("<i>a</i>");
    p->after("<i>c</i>text");
    EXPECT_EQ(inner(*d->body()->child(0)), "<i>a</i><p>b</p><i>c</i>text");
    EXPECT_EQ(p->siblingIndex(), 1);
    // A node without a parent has nowhere to put siblings.
    Ref<Element> loose = make<Element>(Tag::valueOf("span"));
    EXPECT_THROW(loose->before("<b>"), Exception);
}

TEST(NodeHtmlOps, WrapPutsTheNodeInTheDeepestFirstElement) {
    Ref<Document> d = doc("<p>x</p>");
    Element* p = d->body()->child(0);
    p->wrap("<div class=a><section><span></span></section><i>rest</i></div>");
    EXPECT_EQ(inner(*d->body()),
              "<div class=\"a\"><section><span><p>x</p></span></section><i>rest</i></div>");
    EXPECT_EQ(p->parent()->tagName(), "span");
    // Text wraps too, and markup without an element changes nothing.
    Node* text = p->childNode(0);
    text->wrap("<b></b>");
    EXPECT_EQ(inner(*p), "<b>x</b>");
    text->wrap("just text");
    EXPECT_EQ(inner(*p), "<b>x</b>");
}

TEST(NodeHtmlOps, WrapRejectsEmptyMarkup) {
    Ref<Document> d = doc("<p>x</p>");
    try {
        d->body()->child(0)->wrap("");
        FAIL() << "expected an exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "String must not be empty");
    }
}

TEST(NodeHtmlOps, ParseBodyFragment) {
    Ref<Document> d = parseBodyFragment("<p>a</p>b<!--c-->");
    EXPECT_EQ(inner(*d->body()), "<p>a</p>b<!--c-->");
    EXPECT_EQ(inner(*d->head()), "");
}

TEST(NodeHtmlOps, CollectionsApplyToEveryMember) {
    Ref<Document> d = doc("<p>1</p><p>2</p>");
    Elements ps = d->body()->getElementsByTag("p");
    ps.append("<i>a</i>").prepend("<b>z</b>").after("<hr>");
    EXPECT_EQ(inner(*d->body()), "<p><b>z</b>1<i>a</i></p><hr></hr><p><b>z</b>2<i>a</i></p><hr></hr>");
    ps.wrap("<div></div>");
    EXPECT_EQ(inner(*d->body()),
              "<div><p><b>z</b>1<i>a</i></p></div><hr></hr><div><p><b>z</b>2<i>a</i></p></div><hr></hr>");
    ps.html("x");
    EXPECT_EQ(inner(*d->body()), "<div><p>x</p></div><hr></hr><div><p>x</p></div><hr></hr>");
    EXPECT_THROW(Elements().wrap(""), Exception);
}
