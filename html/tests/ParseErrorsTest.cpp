#include "html/nodes/Document.h"
#include "html/parser/Parser.h"

#include <gtest/gtest.h>

using namespace html;

TEST(ParseErrors, TrackedWithTreeBuilderMessagesAndPositions) {
    Parser parser = Parser::htmlParser();
    parser.setTrackErrors(10);
    EXPECT_TRUE(parser.isTrackErrors());
    parser.parseInput("<!DOCTYPE html><p>a</div><html><frameset>");
    const ParseErrorList& errors = parser.getErrors();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].getErrorMessage(), "Unexpected token [EndTag] when in state [InBody]");
    EXPECT_EQ(errors[0].getPosition(), 25u); // just after "</div>"
    EXPECT_EQ(errors[1].getErrorMessage(), "Unexpected token [StartTag] when in state [InBody]");
    EXPECT_EQ(errors[2].getErrorMessage(), "Unexpected token [StartTag] when in state [InBody]");
}

TEST(ParseErrors, MessagesNameTheModeAndTokenKind) {
    Parser parser = Parser::htmlParser();
    parser.setTrackErrors(50);
    parser.parseInput("<html><!DOCTYPE x></head><table>x<caption></table></caption><select><p></select>");
    std::vector<std::string> messages;
    for (const ParseError& e : parser.getErrors())
        messages.push_back(e.getErrorMessage());
    const std::vector<std::string> expected = {
        "Unexpected token [Doctype] when in state [BeforeHead]",
        "Unexpected token [Char] when in state [InTable]",
        "Unexpected token [EndTag] when in state [InCaption]",
        "Unexpected token [EndTag] when in state [InBody]",
        "Unexpected token [StartTag] when in state [InSelect]",
    };
    EXPECT_EQ(messages, expected);
}

TEST(ParseErrors, LimitAndNoTracking) {
    Parser parser = Parser::htmlParser();
    parser.setTrackErrors(2);
    parser.parseInput("</a></b></c></d>");
    EXPECT_EQ(parser.getErrors().size(), 2u);
    parser.setTrackErrors(0);
    EXPECT_FALSE(parser.isTrackErrors());
    parser.parseInput("</a></b></c></d>");
    EXPECT_TRUE(parser.getErrors().empty());
}

TEST(ParseErrors, CleanDocumentHasNone) {
    Parser parser = Parser::htmlParser();
    parser.setTrackErrors(10);
    parser.parseInput("<!DOCTYPE html><html><head><title>t</title></head><body><p>x</p></body></html>");
    EXPECT_TRUE(parser.getErrors().empty());
}
