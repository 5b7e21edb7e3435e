#include "html/nodes/Document.h"
#include "html/nodes/DocumentType.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/FormElement.h"
#include "html/parser/Parser.h"
#include "html/parser/Tag.h"
#include "html/parser/TagId.h"
#include "html/tests/TreeShape.h"

#include <gtest/gtest.h>

using namespace html;
using html::test::inner;
using html::test::shape;

namespace {

std::string body(std::string_view input) {
    Ref<Document> doc = parse(input);
    return inner(*doc->body());
}

std::string fragment(std::string_view input, std::string_view context) {
    Ref<Element> ctx = make<Element>(Tag::valueOf(context));
    std::string out;
    for (const Ref<Node>& n : Parser::parseFragment(input, ctx.get()))
        test::shape(*n, out);
    return out;
}

} // namespace

TEST(TreeBuilder, DocumentSkeletonIsAlwaysBuilt) {
    EXPECT_EQ(shape(*parse("")), "<#root><html><head></head><body></body></html></#root>");
    EXPECT_EQ(shape(*parse("Hello")), "<#root><html><head></head><body>Hello</body></html></#root>");
    // Whitespace before the first element is dropped; comments before <html> belong to the document.
    EXPECT_EQ(inner(*parse("  <!--c--> <html> <head> </head> x")),
              "<!--c--><html><head> </head> <body>x</body></html>");
}

TEST(TreeBuilder, DoctypeAndQuirks) {
    Ref<Document> doc = parse("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://x/y.dtd\"><p>");
    ASSERT_EQ(doc->childNodeSize(), 2u);
    const auto& doctype = static_cast<const DocumentType&>(*doc->childNode(0));
    EXPECT_EQ(doctype.name(), "html");
    EXPECT_EQ(doctype.pubSysKey(), "PUBLIC");
    EXPECT_EQ(doctype.publicId(), "-//W3C//DTD HTML 4.01//EN");
    EXPECT_EQ(doctype.systemId(), "http://x/y.dtd");
    EXPECT_EQ(doc->quirksMode(), Document::QuirksMode::noQuirks);
    // A doctype without a name forces quirks: a table then stays inside an open p.
    Ref<Document> quirky = parse("<!DOCTYPE><p><table></table>");
    EXPECT_EQ(quirky->quirksMode(), Document::QuirksMode::quirks);
    EXPECT_EQ(inner(*quirky->body()), "<p><table></table></p>");
    EXPECT_EQ(body("<!DOCTYPE html><p><table></table>"), "<p></p><table></table>");
    // So does a missing doctype, or a legacy one.
    EXPECT_EQ(parse("<p>")->quirksMode(), Document::QuirksMode::quirks);
    EXPECT_EQ(parse("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">")->quirksMode(),
              Document::QuirksMode::quirks);
    EXPECT_EQ(parse("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" \"x\">")->quirksMode(),
              Document::QuirksMode::limitedQuirks);
}

TEST(TreeBuilder, ImpliedEndTags) {
    EXPECT_EQ(body("<p>a<p>b"), "<p>a</p><p>b</p>");
    EXPECT_EQ(body("<ul><li>a<li>b</ul>"), "<ul><li>a</li><li>b</li></ul>");
    EXPECT_EQ(body("<dl><dt>a<dd>b<dt>c</dl>"), "<dl><dt>a</dt><dd>b</dd><dt>c</dt></dl>");
    EXPECT_EQ(body("<h1>a<h2>b</h1>c"), "<h1>a</h1><h2>b</h2>c");
    EXPECT_EQ(body("<div></p>x</div>"), "<div><p></p>x</div>");
    EXPECT_EQ(body("a</span>b</div>c"), "abc");
}

TEST(TreeBuilder, FosterParenting) {
    EXPECT_EQ(body("<table>a<tr><td>b</td></tr></table>"),
              "a<table><tbody><tr><td>b</td></tr></tbody></table>");
    EXPECT_EQ(body("<table><tr><td>1<td>2<tr><td>3</table>"),
              "<table><tbody><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></tbody></table>");
    // Elements that do not belong in a table go before it too; whitespace stays inside.
    EXPECT_EQ(body("<table> <div>x</div><tr> </table>"),
              "<div>x</div><table> <tbody><tr> </tr></tbody></table>");
}

TEST(TreeBuilder, AdoptionAgency) {
    EXPECT_EQ(body("<b>1<p>2</b>3"), "<b>1</b><p><b>2</b>3</p>");
    EXPECT_EQ(body("<a href=x>1<div>2</a>3"), "<a href=\"x\">1</a><div><a href=\"x\">2</a>3</div>");
    EXPECT_EQ(body("<b><i>x</b>y</i>"), "<b><i>x</i></b><i>y</i>");
    // A new <a> closes the open one first.
    EXPECT_EQ(body("<a>1<a>2"), "<a>1</a><a>2</a>");
    // Formatting reopens in the next block.
    EXPECT_EQ(body("<p><b>1</p><p>2"), "<p><b>1</b></p><p><b>2</b></p>");
}

TEST(TreeBuilder, FormattingEndTagWorksDeepInTheTree) {
    // The formatting element sits under 100 open divs: </b> must still find and close it.
    std::string input;
    for (int i = 0; i < 100; ++i)
        input += "<div>";
    input += "<b><p>x</b>y";
    const std::string got = body(input);
    EXPECT_NE(got.find("<div><b></b><p><b>x</b>y</p></div>"), std::string::npos) << got;
}

TEST(TreeBuilder, SelfClosedElementsAreClosedAtOnce) {
    EXPECT_EQ(body("<div/>x"), "<div></div>x");
    Ref<Document> doc = parse("<script/>x");
    EXPECT_EQ(inner(*doc->head()), "<script></script>");
    EXPECT_EQ(inner(*doc->body()), "x");
    EXPECT_EQ(body("<br/>x<img src=a />"), "<br></br>x<img src=\"a\"></img>");
}

TEST(TreeBuilder, RawTextElements) {
    Ref<Document> doc = parse("<title>a<b>c</title><style>p>q</style><script>if(a<b)x</script>");
    EXPECT_EQ(inner(*doc->head()), "<title>a<b>c</title><style>p>q</style><script>if(a<b)x</script>");
    EXPECT_EQ(body("<textarea>\nx</textarea><pre>\n\ny</pre>"), "<textarea>x</textarea><pre>\ny</pre>");
    EXPECT_EQ(body("<plaintext><b>x</b>"), "<plaintext><b>x</b></plaintext>");
}

TEST(TreeBuilder, UnclosedTitleAndTextareaEndAtTheNextTag) {
    Ref<Document> doc = parse("<title>x<b>y");
    EXPECT_EQ(doc->title(), "x");
    EXPECT_EQ(inner(*doc->body()), "<b>y</b>");
    EXPECT_EQ(body("<textarea>a<p>b"), "<textarea>a</textarea><p>b</p>");
    // Closed ones keep their markup as text.
    EXPECT_EQ(body("<textarea>a<p>b</textarea>"), "<textarea>a<p>b</textarea>");
}

TEST(TreeBuilder, CaseSettings) {
    EXPECT_EQ(body("<DIV ID=A Class=B>x</DIV>"), "<div id=\"A\" class=\"B\">x</div>");
    Parser parser = Parser::htmlParser();
    parser.settings(ParseSettings::preserveCase());
    Ref<Document> doc = parser.parseInput("<DIV ID=A>x</DIV><Other>y</other>");
    EXPECT_EQ(inner(*doc->body()), "<DIV ID=\"A\">x</DIV><Other>y</Other>");
}

// The static entry points always parse with the defaults; an instance's settings and error list
// belong to it alone, whichever entry point of the instance is used, and survive a move.
TEST(TreeBuilder, ParserInstancesUseTheirOwnSettingsAndErrors) {
    Parser keeping = Parser::htmlParser();
    keeping.settings(ParseSettings::preserveCase()).setTrackErrors(5);
    Parser plain = Parser::htmlParser();
    plain.setTrackErrors(5);

    const std::string_view input = "<DIV ID=A>x</SPAN></DIV>";
    EXPECT_EQ(inner(*keeping.parseInput(input)->body()), "<DIV ID=\"A\">x</DIV>");
    EXPECT_EQ(keeping.getErrors().size(), 1u);
    EXPECT_EQ(inner(*plain.parseInput(input)->body()), "<div id=\"A\">x</div>");
    EXPECT_EQ(inner(*html::parse(input, "", keeping)->body()), "<DIV ID=\"A\">x</DIV>");
    EXPECT_EQ(inner(*Parser::parse(input)->body()), "<div id=\"A\">x</div>");

    Ref<Element> context = make<Element>(Tag::valueOf("div"), "");
    std::vector<Ref<Node>> nodes = keeping.parseFragmentInput("<B Title=t>y</B>", context.get());
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->nodeName(), "B");
    EXPECT_EQ(nodes[0]->attr("Title"), "t");
    EXPECT_TRUE(keeping.getErrors().empty()) << "each parse starts a new error list";

    Parser moved = std::move(keeping);
    EXPECT_EQ(inner(*moved.parseInput("<P>z")->body()), "<P>z</P>");
    EXPECT_EQ(plain.getErrors().size(), 1u) << "another instance's parses leave this list alone";
}

TEST(TreeBuilder, HeadElementsAfterHeadGoIntoTheHead) {
    Ref<Document> doc = parse("<head></head><meta charset=x><body>a<base href='http://h/'>");
    EXPECT_EQ(inner(*doc->head()), "<meta charset=\"x\"></meta>");
    EXPECT_EQ(inner(*doc->body()), "a<base href=\"http://h/\"></base>");
    EXPECT_EQ(doc->body()->child(0)->absUrl("href"), "http://h/");
    // The first base with an href sets the base URI of the document, before and after it.
    Ref<Document> based =
        parse("<a href=x>1</a><base href='http://h/d/'><base href='http://o/'><a href=y>2</a>");
    EXPECT_EQ(based->body()->child(0)->absUrl("href"), "http://h/d/x");
    EXPECT_EQ(based->body()->child(3)->absUrl("href"), "http://h/d/y");
}

TEST(TreeBuilder, FramesetReplacesAnEmptyBody) {
    Ref<Document> doc = parse("<frameset><frame src=a><noframes>x</noframes></frameset>");
    EXPECT_EQ(doc->body(), nullptr);
    EXPECT_EQ(inner(*doc->childNode(0)),
              "<head></head><frameset><frame src=\"a\"></frame><noframes>x</noframes></frameset>");
    // Formatting opened in the dropped body is reopened from its (still living) record.
    Ref<Document> after = parse("<b><frameset></frameset></html> x");
    EXPECT_EQ(inner(*after->childNode(0)), "<head></head><frameset></frameset><b> </b>");
}

TEST(TreeBuilder, SelectKeepsOnlyOptions) {
    EXPECT_EQ(body("<select><option>a<option>b<div>c</div><input></select>"),
              "<select><option>a</option><option>bc</option></select><input></input>");
    EXPECT_EQ(body("<table><tr><td><select><td>x"),
              "<table><tbody><tr><td><select></select></td><td>x</td></tr></tbody></table>");
}

TEST(TreeBuilder, IsindexExpandsIntoAForm) {
    EXPECT_EQ(body("<isindex action=go prompt=Find: id=q>"),
              "<form action=\"go\"><hr></hr><label>Find:<input id=\"q\" name=\"isindex\"></input></label>"
              "<hr></hr></form>");
}

TEST(TreeBuilder, FragmentsFollowTheirContext) {
    EXPECT_EQ(fragment("<b>x</b>&amp;", "title"), "<b>x</b>&");
    EXPECT_EQ(fragment("<td>a</td>", "tr"), "<td>a</td>");
    EXPECT_EQ(fragment("<tr><td>a", "table"), "<tbody><tr><td>a</td></tr></tbody>");
    EXPECT_EQ(fragment("x<option>y", "select"), "x<option>y</option>");
    EXPECT_EQ(fragment("<p>a</body>b", "body"), "<p>ab</p>");
    EXPECT_EQ(fragment("a", "script"), "a");
}

TEST(TreeBuilder, FragmentControlsJoinTheContextForm) {
    Ref<Document> doc = parse("<form id=f><div></div></form>");
    Element* div = doc->body()->child(0)->child(0);
    div->html("<input name=a><select name=b></select>");
    const auto& form = static_cast<const FormElement&>(*doc->body()->child(0));
    EXPECT_EQ(form.elements().size(), 2u);
}

TEST(TreeBuilder, CharacterRunsSplitWhereModesDiffer) {
    // Leading whitespace stays in the head; the rest of the run starts the body.
    Ref<Document> doc = parse("<head> \n x<title>t</title>");
    EXPECT_EQ(inner(*doc->head()), " \n ");
    EXPECT_EQ(inner(*doc->body()), "x<title>t</title>");
    // U+0000 is dropped from body, table and select text; frameset keeps only whitespace.
    EXPECT_EQ(body(std::string("a\0b<table>c\0<tr><td>\0d</table><select>\0e</select>", 49)),
              "abc<table><tbody><tr><td>d</td></tr></tbody></table><select>e</select>");
    Ref<Document> frames = parse("<frameset> a b <frame></frameset>");
    EXPECT_EQ(inner(*frames->childNode(0)), "<head></head><frameset>   <frame></frame></frameset>");
}

TEST(TreeBuilder, TagIdsRoundTrip) {
    for (int i = 1; i < static_cast<int>(TagId::Count_); ++i) {
        const auto id = static_cast<TagId>(i);
        EXPECT_EQ(tagIdOf(tagIdName(id)), id) << tagIdName(id);
    }
    EXPECT_EQ(tagIdOf("DIV"), TagId::Other); // ids are for normalised names only
    EXPECT_EQ(tagIdOf("custom-element"), TagId::Other);
    EXPECT_EQ(tagIdOf(""), TagId::Other);
}

TEST(TreeBuilder, InputIsPreprocessedIntoValidText) {
    // CR LF and lone CR become LF; malformed UTF-8 (a stray byte, a cut-off sequence, an encoded
    // surrogate) becomes U+FFFD, so no invalid text reaches the tree or its output.
    Ref<Document> doc = parse("<p>a\r\nb\rc</p><p>x\xFFy\xE2\x82</p><p>\xED\xA0\x80</p>");
    Elements ps = doc->select("p");
    ASSERT_EQ(ps.size(), 3u);
    EXPECT_EQ(ps[0]->text(false), "a\nb\nc");
    EXPECT_EQ(ps[1]->text().substr(0, 8), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_EQ(ps[2]->text().substr(0, 3), "\xEF\xBF\xBD");
    EXPECT_EQ(parse("")->body()->childNodeSize(), 0u);
}
