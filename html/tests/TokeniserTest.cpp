#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/parser/CharacterReader.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Tokeniser.h"

using html::CharacterReader;
using html::ParseErrorList;
using html::Token;
using html::Tokeniser;
using html::TokeniserState;

namespace {

// Runs the tokeniser over `in` (starting in `start`), returning each token's readable form.
// Character data is shown in quotes; start tags acknowledge the self-closing flag unless
// told not to, as the tree builder would.
struct Run {
    std::vector<std::string> tokens;
    std::vector<std::string> errors;
};

Run tokenise(std::string_view in, TokeniserState start = TokeniserState::Data, bool acknowledge = true,
             std::string_view lastStart = {}) {
    CharacterReader reader(in);
    auto errors = ParseErrorList::tracking(100);
    Tokeniser t(reader, &errors);
    if (!lastStart.empty()) {
        // Prime the appropriate end tag, as the tree builder does by inserting the element.
        t.createTagPending(true).name(lastStart);
        t.emitTagPending();
        t.read();
    }
    t.transition(start);
    Run run;
    for (int guard = 0; guard < 1000; ++guard) {
        Token& tok = t.read();
        if (tok.isEOF()) break;
        if (tok.isCharacter())
            run.tokens.push_back("\"" + std::string(tok.asCharacter().getData()) + "\"");
        else if (tok.isComment() && tok.asComment().bogus)
            run.tokens.push_back("bogus" + tok.toString());
        else
            run.tokens.push_back(tok.toString());
        if (tok.isStartTag() && acknowledge) t.acknowledgeSelfClosingFlag();
    }
    for (const auto& e : errors)
        run.errors.push_back(e.toString());
    return run;
}

using V = std::vector<std::string>;

} // namespace

TEST(Tokeniser, TextAndReferencesMergeIntoOneCharToken) {
    EXPECT_EQ(tokenise("a&amp;b<p>").tokens, (V{"\"a&b\"", "<p>"}));
    EXPECT_EQ(tokenise("").tokens, V{});
    EXPECT_EQ(tokenise("Hello").tokens, V{"\"Hello\""});
    EXPECT_EQ(tokenise("a < b & c").tokens, V{"\"a < b & c\""});
    EXPECT_EQ(tokenise("x&notin;y&#x41;").tokens, V{"\"x\xE2\x88\x89yA\""});
}

TEST(Tokeniser, TagsAndAttributes) {
    EXPECT_EQ(tokenise("<DIV Class=\"a b\" id='x' data-v=1 hidden>").tokens,
              V{"<DIV Class=\"a b\" id=\"x\" data-v=\"1\" hidden>"});
    // A repeated name keeps its first value.
    EXPECT_EQ(tokenise("<p id=a ID=b id=c>").tokens, V{"<p id=\"a\">"});
    EXPECT_EQ(tokenise("<a title=\"\">").tokens, V{"<a title=\"\">"});
    EXPECT_EQ(tokenise("<br/>").tokens, V{"<br/>"});
    EXPECT_EQ(tokenise("</p>").tokens, V{"</p>"});
    EXPECT_EQ(tokenise("<a b='1'c>").tokens, V{"<a b=\"1\" c>"});
    EXPECT_EQ(tokenise("<a<b>").tokens, V{"<a<b>"});
    EXPECT_EQ(tokenise("< p>").tokens, V{"\"< p>\""});
}

TEST(Tokeniser, NormalNameIsLowerCased) {
    CharacterReader reader("<DiV>");
    Tokeniser t(reader, nullptr);
    Token& tok = t.read();
    ASSERT_TRUE(tok.isStartTag());
    EXPECT_EQ(tok.asStartTag().name(), "DiV");
    EXPECT_EQ(tok.asStartTag().normalName(), "div");
}

TEST(Tokeniser, ReferencesInAttributeValues) {
    EXPECT_EQ(tokenise("<a href=x&copy=1>").tokens, V{"<a href=\"x&copy=1\">"});
    EXPECT_EQ(tokenise("<a title=&quot;>").tokens, V{"<a title=\"\"\">"});
    EXPECT_EQ(tokenise("<a href='?a=1&amp;b=2&lt'>").tokens, V{"<a href=\"?a=1&b=2<\">"});
    EXPECT_EQ(tokenise("<a t=\"&\">").tokens, V{"<a t=\"&\">"});
    EXPECT_EQ(tokenise("<a t=&gt>").tokens, V{"<a t=\">\">"});
}

TEST(Tokeniser, CommentsAndBogusComments) {
    EXPECT_EQ(tokenise("<!-- a - b -- c -->").tokens, V{"<!-- a - b -- c -->"});
    EXPECT_EQ(tokenise("<!---->").tokens, V{"<!---->"});
    EXPECT_EQ(tokenise("<!-->x").tokens, (V{"<!---->", "\"x\""}));
    EXPECT_EQ(tokenise("<!--a--!>").tokens, V{"<!--a-->"});
    EXPECT_EQ(tokenise("<!--a---->").tokens, V{"<!--a---->"});
    EXPECT_EQ(tokenise("<?xml version='1.0'?>").tokens, V{"bogus<!--?xml version='1.0'?-->"});
    EXPECT_EQ(tokenise("</ p>").tokens, V{"bogus<!-- p-->"});
    EXPECT_EQ(tokenise("<!x>").tokens, V{"bogus<!--x-->"});
    EXPECT_EQ(tokenise("</>x").tokens, V{"\"x\""});
    EXPECT_EQ(tokenise("<![CDATA[a<b]]>c").tokens, V{"\"a<bc\""});
}

TEST(Tokeniser, Doctypes) {
    CharacterReader reader("<!DOCTYPE Html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" 'http://x'>");
    Tokeniser t(reader, nullptr);
    Token& tok = t.read();
    ASSERT_TRUE(tok.isDoctype());
    const auto& d = tok.asDoctype();
    EXPECT_EQ(d.name, "Html");
    EXPECT_EQ(d.pubSysKey, std::optional<std::string_view>("PUBLIC"));
    EXPECT_EQ(d.publicIdentifier, "-//W3C//DTD HTML 4.01//EN");
    EXPECT_EQ(d.systemIdentifier, "http://x");
    EXPECT_FALSE(d.forceQuirks);

    for (const char* quirky :
         {"<!DOCTYPE>", "<!DOCTYPE html bogus>", "<!DOCTYPE html PUBLIC>", "<!DOCTYPE html"}) {
        CharacterReader r(quirky);
        Tokeniser q(r, nullptr);
        Token& k = q.read();
        ASSERT_TRUE(k.isDoctype()) << quirky;
        EXPECT_TRUE(k.asDoctype().forceQuirks) << quirky;
        EXPECT_TRUE(q.read().isEOF()) << quirky;
    }
}

TEST(Tokeniser, RawTextStates) {
    EXPECT_EQ(tokenise("a<b>&amp;</style>x", TokeniserState::Rawtext, true, "style").tokens,
              (V{"\"a<b>&amp;\"", "</style>", "\"x\""}));
    EXPECT_EQ(tokenise("a&amp;</TITLE >", TokeniserState::Rcdata, true, "title").tokens,
              (V{"\"a&\"", "</TITLE>"}));
    EXPECT_EQ(tokenise("</titlex></title>", TokeniserState::Rcdata, true, "title").tokens,
              (V{"\"</titlex>\"", "</title>"}));
    EXPECT_EQ(tokenise("if (a</b) x<!--y-->", TokeniserState::ScriptData, true, "script").tokens,
              V{"\"if (a</b) x<!--y-->\""});
    // Inside an escaped "<script>" the first "</script>" does not close the element.
    EXPECT_EQ(
        tokenise("<!--<script></script>--></script>", TokeniserState::ScriptData, true, "script").tokens,
        (V{"\"<!--<script></script>-->\"", "</script>"}));
    EXPECT_EQ(tokenise(std::string_view("a\0b</p>", 7), TokeniserState::PLAINTEXT).tokens, V{"\"a\xEF\xBF\xBD"
                                                                                             "b</p>\""});
}

TEST(Tokeniser, UnclosedTitleEndsAtNextTag) {
    EXPECT_EQ(tokenise("x<b>y", TokeniserState::Rcdata, true, "title").tokens,
              (V{"\"x\"", "</title>", "<b>", "\"y\""}));
    // With a closing tag ahead the markup stays text.
    EXPECT_EQ(tokenise("x<b>y</title>", TokeniserState::Rcdata, true, "title").tokens,
              (V{"\"x<b>y\"", "</title>"}));
    EXPECT_EQ(tokenise("x<b>y</TITLE>", TokeniserState::Rcdata, true, "title").tokens,
              (V{"\"x<b>y\"", "</TITLE>"}));
}

TEST(Tokeniser, EndOfInputInEachContentModel) {
    EXPECT_EQ(tokenise("<div cla").tokens, V{});
    EXPECT_EQ(tokenise("<div class='a").tokens, V{});
    EXPECT_EQ(tokenise("<!-- open").tokens, V{"<!-- open-->"});
    EXPECT_EQ(tokenise("<").tokens, V{"\"<\""});
    EXPECT_EQ(tokenise("</").tokens, V{"\"</\""});
    EXPECT_EQ(tokenise("<!").tokens, V{"bogus<!---->"});
    EXPECT_EQ(tokenise("a&").tokens, V{"\"a&\""});
    EXPECT_EQ(tokenise("x</sty", TokeniserState::Rawtext, true, "style").tokens, V{"\"x</sty\""});
    EXPECT_EQ(tokenise("<!--<script>x", TokeniserState::ScriptData, true, "script").tokens,
              V{"\"<!--<script>x\""});
    EXPECT_EQ(tokenise("<![CDATA[abc").tokens, V{"\"abc\""});
}

TEST(Tokeniser, NullsAndBadBytes) {
    EXPECT_EQ(tokenise(std::string_view("<a\0b c\0=\"\0\">", 12)).tokens,
              V{"<a\xEF\xBF\xBD"
                "b c\xEF\xBF\xBD=\"\xEF\xBF\xBD\">"});
    EXPECT_EQ(tokenise(std::string_view("<!--\0-->", 8)).tokens, V{"<!--\xEF\xBF\xBD-->"});
    // Malformed UTF-8 never stalls the tokeniser nor ends the input early (bulk runs keep the
    // bytes; CharacterReader::preprocess repairs them beforehand).
    EXPECT_EQ(tokenise("<a\xFF x=\xC3>t\xE2\x82").tokens, (V{"<a\xFF x=\"\xC3\">", "\"t\xE2\x82\""}));
    EXPECT_EQ(tokenise("<!DOCTYPE \xFF\xFF><p \xC3>").tokens,
              (V{"<!doctype \xEF\xBF\xBD\xEF\xBF\xBD>", "<p \xC3>"}));
    EXPECT_EQ(*CharacterReader::preprocess("a\r\n\xFF\xE2\x82\xAC\xE2\x82"),
              "a\n\xEF\xBF\xBD\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_FALSE(
        CharacterReader::preprocess("plain \xE2\x82\xAC text that is long enough for words").has_value());
    EXPECT_EQ(tokenise("<a \xEF\xBF\xBF>x").tokens,
              (V{"<a \xEF\xBF\xBF>", "\"x\""})); // U+FFFF is a character
}

TEST(Tokeniser, ErrorMessagesWithTracking) {
    auto run = tokenise("<p>&amp x</p a=1><br/>", TokeniserState::Data, false);
    EXPECT_EQ(run.errors,
              (V{"7: Invalid character reference: missing semicolon",
                 "17: Attributes incorrectly present on end tag", "22: Self closing flag not acknowledged"}));
    EXPECT_EQ(tokenise("<a =>").errors,
              V{"4: Unexpected character '=' in input state [BeforeAttributeName]"});
    EXPECT_EQ(tokenise("<a").errors, V{"2: Unexpectedly reached end of file (EOF) in input state [TagName]"});

    CharacterReader reader("<<<<<<");
    auto limited = ParseErrorList::tracking(2);
    Tokeniser t(reader, &limited);
    while (!t.read().isEOF()) {}
    EXPECT_EQ(limited.size(), 2u);
}

TEST(Tokeniser, EmitWhilePendingFails) {
    CharacterReader reader("<p>");
    Tokeniser t(reader, nullptr);
    Token::EndTag extra;
    extra.name("p");
    t.emit(extra);
    EXPECT_THROW(t.emit(extra), std::exception);
}

TEST(Tokeniser, LargeInputsStayLinearAndUncopied) {
    // A 1 MB attribute value is handed out as a view of the input, not a copy.
    std::string big = "<a v=\"" + std::string(1 << 20, 'x') + "\">";
    {
        CharacterReader reader{std::string_view(big)};
        Tokeniser t(reader, nullptr);
        Token& tok = t.read();
        ASSERT_TRUE(tok.isStartTag());
        const auto attr = tok.asStartTag().attribute(0);
        EXPECT_EQ(attr.value.size(), std::size_t{1} << 20);
        EXPECT_EQ(attr.value.data(), big.data() + 6);
    }
    // Many attributes, many of them repeated: each name kept once, in order.
    std::string many = "<p";
    for (int i = 0; i < 50000; ++i)
        many += " a" + std::to_string(i % 20000) + "=" + std::to_string(i);
    many += ">";
    {
        CharacterReader reader{std::string_view(many)};
        Tokeniser t(reader, nullptr);
        Token& tok = t.read();
        ASSERT_EQ(tok.asStartTag().attributeCount(), 20000u);
        EXPECT_EQ(tok.asStartTag().attribute(19999).value, "19999");
        EXPECT_EQ(tok.asStartTag().attributeValue("A5"), std::optional<std::string_view>("5"));
    }
    // A long title full of tags: the search for its end tag is not repeated for every "<".
    std::string title;
    for (int i = 0; i < 200000; ++i)
        title += "<a>";
    title += "</title>";
    auto run = tokenise(title, TokeniserState::Rcdata, true, "title");
    ASSERT_EQ(run.tokens.size(), 2u);
    EXPECT_EQ(run.tokens[1], "</title>");
}

TEST(Tokeniser, ArbitraryInputAlwaysTerminates) {
    // Inputs built from the bytes the states care about, started in each state the tree builder
    // can set: the stream must reach its end without a stall, a crash or a runaway token count.
    const std::string alphabet =
        std::string("<>/!-?&#;=\"' \t\nabcxXSCRIPTtitle[]CDATA`\0\xC3\xA9\xFF\xE2", 45);
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const TokeniserState entries[] = {TokeniserState::Data, TokeniserState::Rcdata, TokeniserState::Rawtext,
                                      TokeniserState::ScriptData, TokeniserState::PLAINTEXT};
    for (int round = 0; round < 3000; ++round) {
        std::string in;
        const std::size_t len = next() % 80;
        for (std::size_t i = 0; i < len; ++i)
            in += alphabet[next() % alphabet.size()];
        for (TokeniserState entry : entries) {
            CharacterReader reader{std::string_view(in)};
            auto errors = ParseErrorList::tracking(50);
            Tokeniser t(reader, &errors);
            t.createTagPending(true).name("script");
            t.emitTagPending();
            t.read();
            t.transition(entry);
            int count = 0;
            while (!t.read().isEOF()) {
                t.acknowledgeSelfClosingFlag();
                ASSERT_LT(++count, 200) << "input " << in;
            }
            EXPECT_TRUE(reader.isEmpty());
        }
    }
}

TEST(Tokeniser, ScriptEscapesAndDoubleEscapes) {
    auto script = [](std::string_view in) {
        return tokenise(in, TokeniserState::ScriptData, true, "script").tokens;
    };
    EXPECT_EQ(script("a<!--b-->c</script>"), (V{"\"a<!--b-->c\"", "</script>"}));
    EXPECT_EQ(script("<!--x</script>y"), (V{"\"<!--x\"", "</script>", "\"y\""}));
    // "<script" inside the escape starts a double escape that "</script" ends.
    EXPECT_EQ(script("<!--<script>a</script>b</script>"), (V{"\"<!--<script>a</script>b\"", "</script>"}));
    EXPECT_EQ(script("<!--<SCRIPT>--></script>"), (V{"\"<!--<SCRIPT>-->\"", "</script>"}));
    EXPECT_EQ(script("<!--<scripty></script>"), (V{"\"<!--<scripty>\"", "</script>"}));
    EXPECT_EQ(script("<!-x</script>"), (V{"\"<!-x\"", "</script>"}));
    EXPECT_EQ(script("</scripts></script>"), (V{"\"</scripts>\"", "</script>"}));
    EXPECT_EQ(script(std::string_view("<!--\0-\0--\0", 10)),
              V{"\"<!--\xEF\xBF\xBD-\xEF\xBF\xBD--\xEF\xBF\xBD\""});
}

TEST(Tokeniser, EndTagsOfRawTextElements) {
    // An end tag with attributes still ends the element, and is reported.
    auto run = tokenise("x</style a=1>", TokeniserState::Rawtext, true, "style");
    EXPECT_EQ(run.tokens, (V{"\"x\"", "</style a=\"1\">"}));
    EXPECT_EQ(run.errors, V{"13: Attributes incorrectly present on end tag"});
    EXPECT_EQ(tokenise("x</style/>", TokeniserState::Rawtext, true, "style").tokens,
              (V{"\"x\"", "</style/>"}));
    // References decode in RCDATA but not in RAWTEXT.
    EXPECT_EQ(tokenise("&lt;&x", TokeniserState::Rcdata, true, "textarea").tokens, V{"\"<&x\""});
    EXPECT_EQ(tokenise("&lt;", TokeniserState::Rawtext, true, "xmp").tokens, V{"\"&lt;\""});
    EXPECT_EQ(tokenise("a</", TokeniserState::Rcdata, true, "title").tokens, V{"\"a</\""});
}

TEST(Tokeniser, DoctypeIdentifiers) {
    auto doctype = [](std::string_view in) {
        CharacterReader reader(in);
        Tokeniser t(reader, nullptr);
        Token& tok = t.read();
        EXPECT_TRUE(tok.isDoctype()) << in;
        const auto& d = tok.asDoctype();
        return std::string(d.pubSysKey.value_or("-")) + "|" + d.name + "|" + d.publicIdentifier + "|" +
               d.systemIdentifier + "|" + (d.forceQuirks ? "quirks" : "ok");
    };
    EXPECT_EQ(doctype("<!doctype html>"), "-|html|||ok");
    EXPECT_EQ(doctype("<!DOCTYPE html SYSTEM \"about:legacy-compat\">"),
              "SYSTEM|html||about:legacy-compat|ok");
    EXPECT_EQ(doctype("<!DOCTYPE html public 'a' \"b\">"), "PUBLIC|html|a|b|ok");
    EXPECT_EQ(doctype("<!DOCTYPE html PUBLIC \"a>"), "PUBLIC|html|a||quirks");
    EXPECT_EQ(doctype("<!DOCTYPE html SYSTEM 'x' junk>"), "SYSTEM|html||x|ok");
    EXPECT_EQ(doctype("<!DOCTYPEhtml>"), "-|html|||ok");
    EXPECT_EQ(doctype("<!DOCTYPE h\xC3\xA9ml5>"), "-|h\xC3\xA9ml5|||ok");
}

TEST(Tokeniser, MoreErrorMessages) {
    EXPECT_EQ(tokenise("<!-- x").errors,
              V{"6: Unexpectedly reached end of file (EOF) in input state [Comment]"});
    EXPECT_EQ(tokenise("<p a='1'b>").errors,
              V{"9: Unexpected character 'b' in input state [AfterAttributeValue_quoted]"});
    EXPECT_EQ(tokenise("<#>").errors, V{"1: Unexpected character '#' in input state [TagOpen]"});
    EXPECT_EQ(tokenise("&#;&zz;").errors,
              (V{"2: Invalid character reference: numeric reference with no numerals",
                 "4: Invalid character reference: invalid named referenece 'zz'"}));
    // Without a list nothing is recorded and nothing fails.
    CharacterReader reader("<p a='1'b>&zz;");
    Tokeniser t(reader, nullptr);
    while (!t.read().isEOF()) {}
}

TEST(Tokeniser, UnescapeEntitiesReadsToTheEnd) {
    CharacterReader reader("a &amp; b &copy=1");
    Tokeniser t(reader, nullptr);
    EXPECT_EQ(t.unescapeEntities(true), "a & b &copy=1");
    CharacterReader again("a &amp; b &copy=1");
    Tokeniser u(again, nullptr);
    EXPECT_EQ(u.unescapeEntities(false), "a & b \xC2\xA9=1");
}
