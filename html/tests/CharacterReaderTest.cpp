#include <gtest/gtest.h>

#include "html/parser/CharacterReader.h"
#include "html/parser/ParsingStrings.h"
#include "html/parser/Utf8.h"

using html::CharacterReader;
using html::ParsingStrings;

TEST(CharacterReader, EmptyInputIsAtEndEverywhere) {
    CharacterReader r("");
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(r.current(), CharacterReader::EOF_);
    EXPECT_EQ(r.consume(), CharacterReader::EOF_);
    EXPECT_EQ(r.currentUTF8(), CharacterReader::eofUTF8);
    EXPECT_EQ(r.consumeData(), "");
    EXPECT_EQ(r.getPos(), 0u);
}

TEST(CharacterReader, ConsumeToAnyStopsBeforeTerminatorOrRunsToEnd) {
    CharacterReader r("ab&c");
    EXPECT_EQ(r.consumeToAny(CharacterReader::dataTerminators()), "ab");
    EXPECT_EQ(r.getPos(), 2u);
    EXPECT_EQ(r.current(), U'&');
    EXPECT_EQ(r.consumeData(), ""); // already on a terminator
    r.advance();
    EXPECT_EQ(r.consumeData(), "c");
    EXPECT_TRUE(r.isEmpty());

    // Long runs exercise the vector scan, including a stop in the last partial block.
    std::string longText(100, 'x');
    longText += std::string("\0", 1);
    CharacterReader n(longText);
    EXPECT_EQ(n.consumeData().size(), 100u);
    EXPECT_EQ(n.current(), U'\0');
    std::string noStop(1000, 'y');
    CharacterReader e(noStop);
    EXPECT_EQ(e.consumeData().size(), 1000u);
    EXPECT_TRUE(e.isEmpty());
}

TEST(CharacterReader, ConsumeToAnySkipsMultiByteCharactersWhole) {
    // Multi-byte members: the stop is a whole character, never part of one.
    ParsingStrings set{"\xE2\x82\xAC", "<"}; // euro sign, "<"
    CharacterReader r("a\xC3\xA9\xE2\x82\xAC<");
    EXPECT_EQ(r.consumeToAny(set), "a\xC3\xA9");
    EXPECT_EQ(r.current(), U'\u20AC');
    // A truncated sequence at the end never takes the cursor past the end.
    CharacterReader t("ab\xE2\x82");
    EXPECT_EQ(t.consumeToAny(set), "ab\xE2\x82");
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(t.getPos(), 4u);
}

TEST(CharacterReader, TagNameStopsAtWhitespaceSlashAndGt) {
    for (const char* in : {"div class", "div/", "div>", "div\tx", "div\fx"}) {
        CharacterReader r(in);
        EXPECT_EQ(r.consumeTagName(), "div") << in;
    }
}

TEST(CharacterReader, MultiByteConsumeAndUnconsume) {
    CharacterReader r("a\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(r.consume(), U'a');
    EXPECT_EQ(r.currentUTF8(), "\xE2\x82\xAC");
    EXPECT_EQ(r.consume(), U'\u20AC');
    EXPECT_EQ(r.getPos(), 4u);
    r.unconsume();
    EXPECT_EQ(r.getPos(), 1u);
    r.advance();
    EXPECT_EQ(r.consume(), U'\U0001F600');
    r.unconsume();
    EXPECT_EQ(r.getPos(), 4u);
    EXPECT_EQ(r.consumeAsString(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(r.consume(), U'z');
    EXPECT_EQ(r.consumeAsString(), "");
    CharacterReader start("x");
    start.unconsume(); // nothing before the start
    EXPECT_EQ(start.getPos(), 0u);
}

TEST(CharacterReader, UndecodableBytesReadAsEofWithoutMoving) {
    CharacterReader r("\xC3(x");
    EXPECT_EQ(r.current(), CharacterReader::EOF_);
    EXPECT_EQ(r.currentUTF8(), "");
    EXPECT_EQ(r.consume(), CharacterReader::EOF_);
    EXPECT_EQ(r.getPos(), 0u);
    EXPECT_FALSE(r.isEmpty());
    // Callers that must progress get a replacement character and one byte skipped.
    EXPECT_EQ(r.consumeRepaired(), U'\uFFFD');
    EXPECT_EQ(r.consume(), U'(');
    EXPECT_EQ(CharacterReader("\xED\xA0\x80").current(), CharacterReader::EOF_); // a surrogate
    EXPECT_EQ(CharacterReader("\xC0\xAF").current(), CharacterReader::EOF_);     // overlong
    EXPECT_EQ(CharacterReader("ok\xFF").toString(), "ok\xEF\xBF\xBD");
}

TEST(CharacterReader, ClassSequences) {
    CharacterReader r("\xC3\xA9"
                      "a1");
    EXPECT_FALSE(r.matchesLetter()); // ASCII letters only
    EXPECT_EQ(r.consumeLetterSequence(), "\xC3\xA9"
                                         "a");
    EXPECT_TRUE(r.matchesDigit());
    EXPECT_EQ(r.consumeDigitSequence(), "1");

    CharacterReader mixed("frac12;x");
    EXPECT_EQ(mixed.consumeLetterThenDigitSequence(), "frac12");
    EXPECT_EQ(mixed.current(), U';');

    CharacterReader hex("0aFg");
    EXPECT_EQ(hex.consumeHexSequence(), "0aF");

    CharacterReader arabic("\xD9\xA3\xD9\xA4x"); // Arabic-Indic three, four: category Nd
    EXPECT_EQ(arabic.consumeDigitSequence(), "\xD9\xA3\xD9\xA4");
    CharacterReader mark("a\xCC\x81"
                         "b-"); // a + combining acute: marks count as letters
    EXPECT_EQ(mark.consumeLetterSequence(), "a\xCC\x81"
                                            "b");
}

TEST(CharacterReader, MatchesWithAndWithoutCase) {
    CharacterReader r("doctype html");
    EXPECT_FALSE(r.matches("DOCTYPE"));
    EXPECT_TRUE(r.matchesIgnoreCase("DOCTYPE"));
    EXPECT_EQ(r.getPos(), 0u);
    EXPECT_TRUE(r.matchConsumeIgnoreCase("DOCTYPE"));
    EXPECT_EQ(r.current(), U' ');

    CharacterReader shortInput("doc");
    EXPECT_FALSE(shortInput.matchConsumeIgnoreCase("DOCTYPE"));
    EXPECT_EQ(shortInput.getPos(), 0u);

    CharacterReader empty("");
    EXPECT_TRUE(empty.matches("", false, true)); // an empty sequence matches at once

    // Full upper-case mapping: U+00E9 and U+00C9 are the same letter; U+0131 (dotless i)
    // upper-cases to "I".
    CharacterReader accented("\xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(accented.matchConsumeIgnoreCase("\xC3\x89T\xC3\x89"));
    EXPECT_TRUE(accented.isEmpty());
    CharacterReader dotless("\xC4\xB1"
                            "d");
    EXPECT_TRUE(dotless.matchesIgnoreCase("Id"));
    EXPECT_FALSE(dotless.matches("Id"));

    CharacterReader one("<x");
    EXPECT_TRUE(one.matches(U'<'));
    EXPECT_TRUE(one.matchesAny({U'>', U'<'}));
    EXPECT_FALSE(one.matchesAny({U'>'}));
    EXPECT_TRUE(one.matchesAny(CharacterReader::dataTerminators()));
    EXPECT_TRUE(CharacterReader("\xE2\x82\xACx")
                    .matchesAny({std::string_view("a"), std::string_view("\xE2\x82\xAC")}));
    EXPECT_FALSE(CharacterReader("\xE2\x82\xACx").matchesAny({std::string_view("\xE2\x82")}));
}

TEST(CharacterReader, ConsumeToAndNextIndexOf) {
    CharacterReader r("a-b--c-->d");
    EXPECT_EQ(r.nextIndexOf(std::string_view("-->")), std::optional<std::size_t>(6));
    EXPECT_EQ(r.getPos(), 0u);
    EXPECT_EQ(r.consumeTo(std::string_view("-->")), "a-b--c");
    EXPECT_TRUE(r.matchConsume("-->"));
    EXPECT_EQ(r.consumeTo(U'>'), "d"); // not found: to the end
    EXPECT_TRUE(r.isEmpty());

    CharacterReader partial("ab]]");
    EXPECT_FALSE(partial.nextIndexOf(std::string_view("]]>")).has_value()); // would run past the end
    EXPECT_EQ(partial.consumeTo(std::string_view("]]>")), "ab]]");

    CharacterReader euro("x\xE2\x82\xACy");
    EXPECT_EQ(euro.consumeTo(U'\u20AC'), "x");
    EXPECT_EQ(euro.consumeToEnd(), "\xE2\x82\xACy");
}

TEST(CharacterReader, ContainsIgnoreCaseOnlyAllLowerOrAllUpper) {
    CharacterReader r("text </SCRIPT> more");
    EXPECT_TRUE(r.containsIgnoreCase("</script"));
    CharacterReader mixed("text </Script> more");
    EXPECT_FALSE(mixed.containsIgnoreCase("</script"));
    mixed.consumeTo(U'm');
    CharacterReader later("</title> x");
    later.consumeTo(U'x');
    EXPECT_FALSE(later.containsIgnoreCase("</title")); // searches from the cursor only
}

TEST(CharacterReader, NewlineNormalisation) {
    EXPECT_FALSE(CharacterReader::normaliseNewlines("a\nb").has_value());
    EXPECT_EQ(*CharacterReader::normaliseNewlines("a\r\nb\rc\r\r\nd\r"), "a\nb\nc\n\nd\n");
}

TEST(ParsingStrings, MembershipIsExact) {
    ParsingStrings set{"p", "h1"};
    EXPECT_TRUE(set.contains(std::string_view("p")));
    EXPECT_TRUE(set.contains(std::string_view("h1")));
    EXPECT_TRUE(set.containsTrie("h1"));
    for (const char* no : {"h", "h12", "1", "", "ph"}) {
        EXPECT_FALSE(set.contains(std::string_view(no))) << no;
        EXPECT_FALSE(set.containsTrie(no)) << no;
    }
    EXPECT_TRUE(set.contains('p'));
    EXPECT_FALSE(set.contains('h'));

    ParsingStrings scalars(std::vector<char32_t>{U'a', U'\u20AC'});
    EXPECT_TRUE(scalars.contains(U'\u20AC'));
    EXPECT_TRUE(scalars.contains(std::string_view("\xE2\x82\xAC")));
    EXPECT_FALSE(scalars.contains(U'\u20AD'));
    EXPECT_FALSE(scalars.isAsciiByteSet());

    ParsingStrings copy(set);
    EXPECT_TRUE(copy == set);
    EXPECT_EQ(copy.hashValue(), set.hashValue());
    EXPECT_NE(ParsingStrings({"p", "h2"}).hashValue(), set.hashValue());
}

TEST(ParsingStrings, ByteScanMatchesMembership) {
    // Up to four members take one vector compare, up to eight the wider one, more the table scan.
    const ParsingStrings few{"\"", "&", std::string_view("\0", 1)};
    const ParsingStrings some{"\t", "\n", " ", "/", "=", ">", "<"};
    const ParsingStrings many{"\t", "\n", "\f", "\r", " ", "/", "=", ">", "<"};
    std::string text(40, 'a');
    for (std::size_t stop = 0; stop < text.size(); ++stop) {
        std::string s = text;
        s[stop] = '&';
        EXPECT_EQ(few.scanToMember(s.data(), 0, s.size()), stop);
        s[stop] = '=';
        EXPECT_EQ(some.scanToMember(s.data(), 0, s.size()), stop);
        EXPECT_EQ(many.scanToMember(s.data(), 0, s.size()), stop);
        s[stop] = '\r';
        EXPECT_EQ(some.scanToMember(s.data(), 0, s.size()), s.size());
        EXPECT_EQ(many.scanToMember(s.data(), 0, s.size()), stop);
    }
    EXPECT_EQ(some.scanToMember(text.data(), 3, text.size()), text.size());
    EXPECT_EQ(many.scanToMember(text.data(), 3, text.size()), text.size());
}

// The first bad byte is found wherever it stands against the 16-byte steps over ASCII runs, after
// valid characters of every length; valid text has none.
TEST(Utf8, FirstInvalidFindsTheFirstBadByteWherever) {
    for (const std::string_view valid : {"a", "\xC3\xA9", "\xE2\x80\x94", "\xF0\x9F\x98\x80"}) {
        for (std::size_t before = 0; before < 40; ++before) {
            std::string text;
            while (text.size() < before)
                text += text.size() % 7 == 3 ? std::string(valid) : std::string("x");
            const std::size_t bad = text.size();
            EXPECT_EQ(html::utf8::firstInvalid(text + std::string(20, 'y')), std::string_view::npos);
            for (const std::string_view broken : {"\xFF", "\xC3(", "\xE2\x80", "\xED\xA0\x80", "\x80"}) {
                const std::string input = text + std::string(broken) + std::string(before % 19, 'z');
                EXPECT_EQ(html::utf8::firstInvalid(input), bad) << before;
            }
        }
    }
}
