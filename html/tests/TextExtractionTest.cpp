#include "html/nodes/Comment.h"
#include "html/nodes/DataNode.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/TextNode.h"

#include <gtest/gtest.h>

using namespace html;

namespace {
Ref<Element> el(std::string_view name) {
    return make<Element>(Tag::valueOf(name));
}

Ref<Element> withText(std::string_view name, std::string_view text) {
    Ref<Element> e = el(name);
    e->appendText(text);
    return e;
}
} // namespace

TEST(TextExtraction, WhitespaceRunsCollapseAndEndsAreTrimmed) {
    Ref<Element> div = el("div");
    div->appendText("  Hello   ");
    div->appendChild(withText("b", "big"));
    div->appendText("  world ");
    EXPECT_EQ(div->text(), "Hello big world");

    Ref<Element> blank = el("div");
    blank->appendText(" \t\r\n \f");
    EXPECT_EQ(blank->text(), "");
    EXPECT_FALSE(blank->hasText());

    // CR LF counts as one whitespace run; a vertical tab is not whitespace here.
    Ref<Element> crlf = el("p");
    crlf->appendText("a\r\n\r\nb\x0B"
                     "c");
    EXPECT_EQ(crlf->text(), "a b\x0B"
                            "c");
}

TEST(TextExtraction, BlocksAndBreaksSeparateWords) {
    Ref<Element> div = el("div");
    div->appendChild(withText("p", "One"));
    div->appendChild(withText("p", "Two"));
    EXPECT_EQ(div->text(), "One Two");

    Ref<Element> br = el("div");
    br->appendText("One");
    br->appendElement("br");
    br->appendText("Two");
    EXPECT_EQ(br->text(), "One Two");

    Ref<Element> leading = el("div");
    leading->appendElement("br");
    leading->appendText("Two");
    EXPECT_EQ(leading->text(), "Two");

    // The block rule applies without normalisation too.
    Ref<Element> raw = el("div");
    raw->appendText(" a ");
    raw->appendChild(withText("p", "b  "));
    raw->appendChild(withText("span", "c"));
    EXPECT_EQ(raw->text(false), " a b  c");
}

TEST(TextExtraction, PreKeepsWhitespaceForTwoLevels) {
    Ref<Element> pre = el("pre");
    pre->appendText("  line one\n  line  two\n");
    Ref<Element> b = pre->appendElement("b");
    b->appendText(" bold  text ");
    Ref<Element> i = b->appendElement("i");
    i->appendText(" deep   text ");
    EXPECT_EQ(pre->text(), "line one\n  line  two\n bold  text deep text");
    EXPECT_EQ(b->ownText(), "bold  text");
    EXPECT_EQ(i->ownText(), "deep text");
}

TEST(TextExtraction, NoBreakSpacesStayInsideButNotAtTheEnds) {
    Ref<Element> p = el("p");
    p->appendText("\xC2\xA0"
                  "a\xC2\xA0"
                  "b \xC2\xA0");
    EXPECT_EQ(p->text(), "a\xC2\xA0"
                         "b");
    Ref<Element> q = el("p");
    q->appendText("\xE3\x80\x80x\xE2\x80\xA8");
    EXPECT_EQ(q->text(), "x");
}

TEST(TextExtraction, InvalidAndTruncatedUtf8) {
    Ref<Element> p = el("p");
    p->appendText("a b \xE2\x82");
    // The truncated character at the end is dropped by normalisation.
    EXPECT_EQ(p->text(), "a b");
    Ref<Element> raw = el("p");
    raw->appendText("a\xC3");
    raw->appendText("\xA9\xFF");
    // Without normalisation the bytes are kept and only the bad ones replaced.
    EXPECT_EQ(raw->text(false), "a\xC3\xA9\xEF\xBF\xBD");
    EXPECT_EQ(StringUtil::repairUtf8("\xED\xA0\x80x"), "\xEF\xBF\xBDx"); // a surrogate is not UTF-8
    EXPECT_EQ(StringUtil::normaliseWhitespace("x \xF0\x9F"), "x ");
}

TEST(TextExtraction, OwnTextDataAndTextNodes) {
    Ref<Element> div = el("div");
    div->appendText(" one ");
    div->appendChild(withText("b", "inner"));
    div->appendElement("br");
    div->appendText(" two ");
    div->appendChild(make<Comment>("c"));
    EXPECT_EQ(div->ownText(), "one two");
    EXPECT_EQ(div->text(), "one inner two");

    Ref<Element> script = el("script");
    script->appendChild(make<DataNode>("var a = 1 < 2;"));
    Ref<Element> holder = el("div");
    holder->appendChild(script);
    holder->appendChild(make<DataNode>("/*x*/"));
    EXPECT_EQ(holder->data(), "var a = 1 < 2;/*x*/");
    EXPECT_EQ(holder->text(), "");
    EXPECT_FALSE(holder->hasText());

    Ref<TextNode> t = make<TextNode>("  a \n b  ");
    EXPECT_EQ(t->text(), " a b ");
    EXPECT_EQ(t->getWholeText(), "  a \n b  ");
    EXPECT_FALSE(t->isBlank());
    EXPECT_TRUE(make<TextNode>("")->isBlank());
}

TEST(TextExtraction, ElementsJoinTexts) {
    Ref<Element> a = withText("p", "a"), empty = el("p"), b = withText("p", "b");
    EXPECT_EQ((Elements{a.get(), empty.get(), b.get()}).text(), "a  b");
    EXPECT_EQ((Elements{empty.get(), a.get()}).text(), "a");
    EXPECT_TRUE((Elements{empty.get(), a.get()}).hasText());
    EXPECT_FALSE((Elements{empty.get()}).hasText());
    EXPECT_EQ((Elements{a.get(), empty.get(), b.get()}).eachText(), (std::vector<std::string>{"a", "b"}));
}

namespace {
// The rule character by character, as plainly as it can be written.
std::string referenceNormalise(std::string_view bytes, bool stripLeading) {
    std::string out;
    bool lastWasWhite = false, reachedNonWhite = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + len > bytes.size()) break;
        if (len == 1 && StringUtil::isWhitespace(bytes[i])) {
            if (!(stripLeading && !reachedNonWhite) && !lastWasWhite) {
                out += ' ';
                lastWasWhite = true;
            }
        } else {
            out.append(bytes.substr(i, len));
            reachedNonWhite = true;
            lastWasWhite = false;
        }
        i += len;
    }
    return out;
}
} // namespace

TEST(TextExtraction, FastNormalisationMatchesTheCharacterRule) {
    const std::string_view pieces[] = {"a",        "bc",       " ",
                                       "  ",       "\n",       "\t",
                                       "\r\n",     "\xC3\xA9", "\xE2\x80\x94",
                                       "\xC2\xA0", "\x0B",     "\xF0\x9F\x98\x80",
                                       "\xE2",     "\xC3"};
    std::uint32_t seed = 12345;
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        const int count = static_cast<int>(seed % 12);
        for (int k = 0; k < count; ++k) {
            seed = seed * 1103515245u + 12345u;
            text += pieces[(seed >> 16) % std::size(pieces)];
        }
        seed = seed * 1103515245u + 12345u;
        for (bool strip : {false, true}) {
            StringBuilder sb;
            StringUtil::appendNormalisedWhitespace(sb, text, strip);
            ASSERT_EQ(sb.toString(), referenceNormalise(text, strip)) << "input: " << text;
        }
    }
}
