#include "html/nodes/Comment.h"
#include "html/nodes/DataNode.h"
#include "html/nodes/Document.h"
#include "html/nodes/DocumentType.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/TextNode.h"
#include "html/parser/Parser.h"

#include <gtest/gtest.h>

using namespace html;

namespace {
Ref<Element> el(std::string_view name) {
    return make<Element>(Tag::valueOf(name));
}
} // namespace

TEST(HtmlOutput, PrettyPrintsNestedBlocksAndKeepsInlineOnTheLine) {
    Ref<Document> doc = Document::createShell("");
    Element* body = doc->body();
    Ref<Element> div = body->appendElement("div");
    Ref<Element> p = div->appendElement("p");
    p->appendText("Hello ");
    p->appendElement("b")->appendText("big");
    p->appendText(" world");
    div->appendElement("ul")->appendElement("li")->appendText("item");
    EXPECT_EQ(doc->outerHtml(), "<html>\n"
                                " <head></head>\n"
                                " <body>\n"
                                "  <div>\n"
                                "   <p>Hello <b>big</b> world</p>\n"
                                "   <ul>\n"
                                "    <li>item</li>\n"
                                "   </ul>\n"
                                "  </div>\n"
                                " </body>\n"
                                "</html>");
    EXPECT_EQ(p->outerHtml(), "<p>Hello <b>big</b> world</p>");
    EXPECT_EQ(div->html(), "<p>Hello <b>big</b> world</p>\n<ul>\n <li>item</li>\n</ul>");

    doc->outputSettings().indentAmount(2);
    EXPECT_EQ(div->outerHtml(),
              "<div>\n  <p>Hello <b>big</b> world</p>\n  <ul>\n    <li>item</li>\n  </ul>\n</div>");

    doc->outputSettings().prettyPrint(false);
    EXPECT_EQ(doc->outerHtml(),
              "<html><head></head><body><div><p>Hello <b>big</b> world</p><ul><li>item</li></ul>"
              "</div></body></html>");
}

TEST(HtmlOutput, OutlinePutsEveryElementOnItsOwnLine) {
    Ref<Document> doc = make<Document>("");
    doc->outputSettings().outline(true);
    Ref<Element> p = doc->appendElement("p");
    p->appendText("a");
    p->appendElement("b")->appendText("b");
    EXPECT_EQ(doc->outerHtml(), "<p>\n a\n <b>b</b>\n</p>");
}

TEST(HtmlOutput, TextIsEscapedAndNormalisedOutsidePre) {
    Ref<Document> doc = make<Document>("");
    Ref<Element> div = doc->appendElement("div");
    div->appendText("a  <b> & \"c\"\n d");
    Ref<Element> pre = div->appendElement("pre");
    pre->appendText("x  <\n y");
    EXPECT_EQ(div->outerHtml(), "<div>\n a &lt;b&gt; &amp; \"c\" d\n <pre>x  &lt;\n y</pre>\n</div>");
}

TEST(HtmlOutput, AttributesAndBooleanCollapse) {
    Ref<Document> doc = make<Document>("");
    Ref<Element> input = doc->appendElement("input");
    input->attr("checked", "").attr("value", "a\"b<&>").attr("disabled", "DISABLED").attr("selected", "no");
    EXPECT_EQ(input->outerHtml(), "<input checked value=\"a&quot;b<&amp;>\" disabled selected=\"no\" />");
    doc->outputSettings().syntax(OutputSettings::Syntax::xml);
    // In an attribute value only the quote and the ampersand need escaping.
    EXPECT_EQ(input->outerHtml(),
              "<input checked=\"\" value=\"a&quot;b<&amp;>\" disabled=\"DISABLED\" selected=\"no\" />");

    // Outside a document the default settings apply.
    Ref<Element> br = el("br");
    EXPECT_EQ(br->outerHtml(), "<br />");
    Ref<Element> img = el("img");
    img->attr("src", "x.png");
    EXPECT_EQ(img->outerHtml(), "<img src=\"x.png\" />");
    EXPECT_EQ(img->getAttributes().html(), " src=\"x.png\"");
    Ref<Element> custom = el("custom");
    EXPECT_EQ(custom->outerHtml(), "<custom></custom>");
}

TEST(HtmlOutput, CommentsDataNodesAndDoctypes) {
    Ref<Document> doc = make<Document>("");
    doc->appendChild(make<DocumentType>("html", "PUBLIC", "-//W3C//DTD HTML 4.01//EN",
                                        "http://www.w3.org/TR/html4/strict.dtd"));
    Ref<Element> html = doc->appendElement("html");
    Ref<Element> script = html->appendElement("script");
    script->appendChild(make<DataNode>("if (a < b && c) {}"));
    html->appendChild(make<Comment>(" note "));
    EXPECT_EQ(doc->outerHtml(), "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                                "\"http://www.w3.org/TR/html4/strict.dtd\">\n"
                                "<html>\n"
                                " <script>if (a < b && c) {}</script>\n"
                                " <!-- note -->\n"
                                "</html>");
    EXPECT_EQ(make<DocumentType>("html", "", "", "")->outerHtml(), "<!DOCTYPE html>");
}

TEST(HtmlOutput, ElementsJoinWithLineFeeds) {
    Ref<Element> a = el("p"), b = el("p");
    a->appendText("1");
    b->appendText("2");
    Elements list{a.get(), b.get()};
    EXPECT_EQ(list.outerHtml(), "<p>1</p>\n<p>2</p>");
    EXPECT_EQ(list.html(), "1\n2");
    EXPECT_TRUE(a->hasSameValue(*b) == false);
    b->childNode(0)->remove();
    b->appendText("1");
    EXPECT_TRUE(a->hasSameValue(*b));
}

TEST(HtmlOutput, EscapeModeAndCharsetOfTheDocument) {
    // The document's settings reach the escaper: xhtml escapes "<" in attribute values too, and a
    // charset that cannot hold a character gets a numeric reference.
    Ref<Document> doc = make<Document>("");
    Ref<Element> p = doc->appendElement("p");
    p->appendText("b \xC3\xA9 <");
    p->attr("title", "<\"");
    EXPECT_EQ(p->outerHtml(), "<p title=\"<&quot;\">b \xC3\xA9 &lt;</p>");
    doc->outputSettings().escapeMode(Entities::EscapeMode::xhtml());
    EXPECT_EQ(p->outerHtml(), "<p title=\"&lt;&quot;\">b \xC3\xA9 &lt;</p>");
    doc->outputSettings().escapeMode(Entities::EscapeMode::base()).charset("ISO-8859-7");
    EXPECT_EQ(p->outerHtml(), "<p title=\"<&quot;\">b &#xe9; &lt;</p>");
}

TEST(HtmlOutput, ParsedPagePrintsAndParsesBack) {
    Ref<Document> doc = Parser::parse("<div class=noteText><p>One <b>two</b>\n  three</p><ul><li>a<li>b</ul>"
                                      "<input type=checkbox checked><!-- c --><script>x<y</script></div>");
    const std::string printed = doc->body()->html();
    EXPECT_EQ(printed, "<div class=\"noteText\">\n"
                       " <p>One <b>two</b> three</p>\n"
                       " <ul>\n"
                       "  <li>a</li>\n"
                       "  <li>b</li>\n"
                       " </ul>\n"
                       " <input type=\"checkbox\" checked />\n"
                       " <!-- c -->\n"
                       " <script>x<y</script>\n"
                       "</div>");
    // What was printed parses back to the same text and the same elements.
    Ref<Document> again = Parser::parse(doc->outerHtml());
    EXPECT_EQ(doc->body()->text(), "One two three a b");
    EXPECT_EQ(again->body()->text(), doc->body()->text());
    EXPECT_EQ(again->getAllElements().size(), doc->getAllElements().size());
}
