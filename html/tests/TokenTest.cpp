#include <gtest/gtest.h>

#include "html/nodes/Attributes.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Token.h"

using html::Attributes;
using html::ParseErrorList;
using html::Token;

TEST(Token, TagNameFromPiecesAndItsNormalForm) {
    const std::string input = "DiVx";
    Token::StartTag tag;
    tag.appendTagName(std::string_view(input).substr(0, 2));
    tag.appendTagName(std::string_view(input).substr(2, 1));
    EXPECT_EQ(tag.name(), "DiV");
    EXPECT_EQ(tag.name().data(), input.data()); // adjacent slices stay one view of the input
    EXPECT_EQ(tag.normalName(), "div");
    tag.appendTagName(U'\u00C9'); // non-ASCII is kept as is, in both forms
    EXPECT_EQ(tag.name(), "DiV\xC3\x89");
    EXPECT_EQ(tag.normalName(), "div\xC3\x89");

    tag.reset();
    EXPECT_EQ(tag.name(), "");
    tag.name("p");
    EXPECT_EQ(tag.normalName(), "p");
    EXPECT_FALSE(tag.isSelfClosing());
}

TEST(Token, AttributesFromSlicesCopiesAndBareNames) {
    const std::string input = "x1y";
    Token::StartTag tag;
    tag.name("a");
    tag.appendAttributeName(std::string_view("href"));
    tag.appendAttributeValue(std::string_view(input).substr(0, 1));
    tag.appendAttributeValue(U'&'); // a decoded reference: the value becomes a copy
    tag.appendAttributeValue(std::string_view(input).substr(2, 1));
    tag.newAttribute();
    tag.appendAttributeName(std::string_view("hidden"));
    tag.newAttribute();
    tag.appendAttributeName(std::string_view("title"));
    tag.setEmptyAttributeValue();
    tag.newAttribute();
    tag.newAttribute(); // nothing pending: nothing added
    tag.appendAttributeName(std::string_view("HREF"));
    tag.appendAttributeValue(std::string_view(input));
    tag.newAttribute(); // a repeat, dropped

    ASSERT_EQ(tag.attributeCount(), 3u);
    EXPECT_EQ(tag.attribute(0).value, "x&y");
    EXPECT_FALSE(tag.attribute(1).hasValue);
    EXPECT_TRUE(tag.attribute(2).hasValue);
    EXPECT_EQ(tag.attribute(2).value, "");
    EXPECT_EQ(tag.toString(), "<a href=\"x&y\" hidden title=\"\">");

    Attributes attrs;
    tag.copyAttributesTo(attrs);
    ASSERT_EQ(attrs.size(), 3u);
    EXPECT_EQ(attrs.get("href"), "x&y");
    EXPECT_TRUE(attrs.hasKey("hidden"));
    EXPECT_EQ(attrs[2].getKey(), "title");

    // Into a collection that already has keys, values replace.
    Attributes existing;
    existing.put("href", "old");
    tag.copyAttributesTo(existing);
    EXPECT_EQ(existing.size(), 3u);
    EXPECT_EQ(existing.get("href"), "x&y");

    tag.reset();
    EXPECT_FALSE(tag.hasAttributes());
    tag.addAttribute("name", "isindex");
    EXPECT_EQ(tag.attributeValue("NAME"), std::optional<std::string_view>("isindex"));
}

TEST(Token, KindsAndNames) {
    Token::Doctype d;
    Token::EndTag e;
    Token::Comment c;
    Token::Char ch;
    Token::EOF_ eof;
    EXPECT_TRUE(d.isDoctype());
    EXPECT_TRUE(e.isEndTag());
    EXPECT_FALSE(e.isStartTag());
    EXPECT_TRUE(c.isComment());
    EXPECT_TRUE(ch.isCharacter());
    EXPECT_TRUE(eof.isEOF());
    EXPECT_EQ(d.tokenType(), "Doctype");
    EXPECT_EQ(eof.tokenType(), "EOF");
    EXPECT_EQ(ch.tokenType(), "Char");
}

TEST(ParseErrorList, KeepsErrorsUpToItsLimit) {
    auto none = ParseErrorList::noTracking();
    EXPECT_FALSE(none.canAddError());
    EXPECT_FALSE(none.add(0, "x"));
    EXPECT_TRUE(none.empty());

    auto two = ParseErrorList::tracking(2);
    EXPECT_TRUE(two.add(3, "a"));
    EXPECT_TRUE(two.add(5, "b"));
    EXPECT_FALSE(two.add(7, "c"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].toString(), "5: b");
    EXPECT_EQ(two[0].getPosition(), 3u);
}
