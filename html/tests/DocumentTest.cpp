#include "html/nodes/Document.h"
#include "html/nodes/Elements.h"
#include "html/nodes/TextNode.h"

#include <gtest/gtest.h>

using namespace html;

TEST(Document, ShellHeadBodyAndTitle) {
    Ref<Document> doc = Document::createShell("http://example.com/");
    EXPECT_EQ(doc->nodeName(), "#document");
    EXPECT_EQ(doc->location(), "http://example.com/");
    ASSERT_EQ(doc->childNodeSize(), 1u);
    EXPECT_EQ(doc->child(0)->tagName(), "html");
    EXPECT_EQ(doc->title(), "");
    EXPECT_EQ(doc->head()->parent(), doc->child(0));
    // The document is never listed among the ancestors.
    EXPECT_EQ(doc->body()->parents().size(), 1u);

    Ref<Element> title = doc->head()->appendElement("title");
    title->appendText("  A   title\n ");
    EXPECT_EQ(doc->title(), "A   title"); // title keeps its whitespace; only the ends are trimmed

    // The first body in document order wins, wherever it is.
    Ref<Element> nested = doc->body()->appendElement("body");
    EXPECT_NE(doc->body(), nested.get());
    EXPECT_EQ(make<Document>("")->body(), nullptr);
}

TEST(Document, CopyKeepsSettingsAndQuirksMode) {
    Ref<Document> doc = Document::createShell("");
    doc->quirksMode(Document::QuirksMode::quirks);
    doc->outputSettings().prettyPrint(false);
    doc->body()->appendText("x");
    Ref<Node> copy = doc->copy();
    ASSERT_TRUE(copy->isDocument());
    auto* copied = static_cast<Document*>(copy.get());
    EXPECT_EQ(copied->quirksMode(), Document::QuirksMode::quirks);
    EXPECT_FALSE(copied->outputSettings().prettyPrint());
    EXPECT_EQ(copied->outerHtml(), "<html><head></head><body>x</body></html>");
    EXPECT_EQ(copied->body()->ownerDocument(), copied);

    // Elements created by the document share its base URI.
    Ref<Document> based = make<Document>("http://h/");
    EXPECT_EQ(based->createElement("a")->getBaseUri(), "http://h/");
}
