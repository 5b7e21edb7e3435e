#include <gtest/gtest.h>

#include "html/parser/CharacterReader.h"
#include "html/parser/Entities.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Utf8.h"

using html::CharacterReader;
using html::Entities;
using html::ParseErrorList;
using Mode = html::Entities::EscapeMode;

namespace {
// Decodes the reference after the leading "&" of `in`; returns the decoded text (or "" when
// nothing was decoded), the cursor after the call and the errors reported.
struct Decoded {
    std::string text;
    std::size_t pos;
    std::vector<std::string> errors;
    bool decoded;
};

Decoded decode(std::string_view in, bool inAttribute = false,
               std::optional<char32_t> allowed = std::nullopt) {
    CharacterReader r(in);
    EXPECT_TRUE(r.matchConsume("&"));
    auto errors = ParseErrorList::tracking(10);
    auto cps = Entities::consumeCharacterReference(r, &errors, allowed, inAttribute);
    Decoded d{{}, r.getPos(), {}, cps.has_value()};
    if (cps)
        for (int i = 0; i < cps->count; ++i)
            html::utf8::append(d.text, (*cps)[i]);
    for (const auto& e : errors)
        d.errors.push_back(e.errorMsg);
    return d;
}
} // namespace

TEST(Entities, TablesHaveTheStandardSizes) {
    EXPECT_EQ(Mode::xhtml().size(), 4u);
    EXPECT_EQ(Mode::base().size(), 106u);
    EXPECT_EQ(Mode::extended().size(), 2125u);
    EXPECT_EQ(Mode::xhtml().value(), 0);
    EXPECT_EQ(Mode::extended().value(), 2);
    EXPECT_FALSE(Mode::base() == Mode::extended());
}

TEST(Entities, LookupsByNameAndCodepoint) {
    EXPECT_EQ(Mode::extended().codepointForName("amp"), U'&');
    EXPECT_EQ(Mode::extended().codepointForName("AMP"), U'&');
    EXPECT_FALSE(Mode::extended().codepointForName("Amp").has_value()); // case matters
    EXPECT_FALSE(Mode::base().codepointForName("hellip").has_value());
    EXPECT_EQ(Mode::extended().nameForCodepoint(U'&'), "amp"); // "AMP" sorts first
    EXPECT_EQ(Mode::xhtml().nameForCodepoint(U'"'), "quot");
    EXPECT_FALSE(Mode::xhtml().nameForCodepoint(U'\u00A0').has_value());
    EXPECT_EQ(Mode::base().nameForCodepoint(U'\u00A0'), "nbsp");

    EXPECT_TRUE(Entities::isNamedEntity("hellip"));
    EXPECT_FALSE(Entities::isBaseNamedEntity("hellip"));
    EXPECT_TRUE(Entities::isBaseNamedEntity("copy"));
    EXPECT_FALSE(Entities::isNamedEntity("hellip;"));

    auto two = Entities::codepointsForName("NotEqualTilde");
    ASSERT_TRUE(two.has_value());
    ASSERT_EQ(two->count, 2);
    EXPECT_EQ((*two)[0], U'\u2242');
    EXPECT_EQ((*two)[1], U'\u0338');
    EXPECT_EQ(Entities::getByName("NotEqualTilde"), "\xE2\x89\x82\xCC\xB8");
    EXPECT_EQ(Entities::getByName("lt"), "<");
    EXPECT_FALSE(Entities::getByName("nope").has_value());
}

TEST(Entities, NamedReferenceSemicolonRules) {
    auto amp = decode("&amp x");
    EXPECT_EQ(amp.text, "&");
    EXPECT_EQ(amp.errors, std::vector<std::string>{"Invalid character reference: missing semicolon"});
    EXPECT_EQ(amp.pos, 4u);

    auto hellipBare = decode("&hellip x");
    EXPECT_FALSE(hellipBare.decoded);
    EXPECT_EQ(hellipBare.pos, 1u); // given back
    EXPECT_TRUE(hellipBare.errors.empty());

    auto hellip = decode("&hellip;x");
    EXPECT_EQ(hellip.text, "\xE2\x80\xA6");
    EXPECT_EQ(hellip.pos, 8u);
    EXPECT_TRUE(hellip.errors.empty());

    auto two = decode("&NotEqualTilde;");
    EXPECT_EQ(two.text, "\xE2\x89\x82\xCC\xB8");
}

TEST(Entities, UnknownNamesAndLongestBaseName) {
    // An unknown name ending in ";" is reported and stays literal.
    auto unknown = decode("&zzzz;");
    EXPECT_FALSE(unknown.decoded);
    EXPECT_EQ(unknown.pos, 1u);
    EXPECT_EQ(unknown.errors,
              std::vector<std::string>{"Invalid character reference: invalid named referenece 'zzzz'"});
    // A base name at the start of a longer word is still a reference, as browsers read it.
    auto notit = decode("&notit;");
    EXPECT_EQ(notit.text, "\xC2\xAC");
    EXPECT_EQ(notit.pos, 4u);
    EXPECT_EQ(notit.errors, std::vector<std::string>{"Invalid character reference: missing semicolon"});
    EXPECT_EQ(decode("&notin;").text, "\xE2\x88\x89");
    EXPECT_EQ(Entities::unescape("&amplt; &ammmp;"), "&lt; &ammmp;");
}

TEST(Entities, NumericReferences) {
    EXPECT_EQ(decode("&#x41;").text, "A");
    EXPECT_EQ(decode("&#X41;").text, "A");
    EXPECT_EQ(decode("&#65;").text, "A");
    EXPECT_EQ(decode("&#0065").text, "A");
    EXPECT_EQ(decode("&#65").errors,
              std::vector<std::string>{"Invalid character reference: missing semicolon"});

    for (const char* none : {"&#;", "&#x;", "&#xg;"}) {
        auto d = decode(none);
        EXPECT_FALSE(d.decoded) << none;
        EXPECT_EQ(d.pos, 1u) << none; // the "#" is given back
        EXPECT_EQ(d.errors, std::vector<std::string>{
                                "Invalid character reference: numeric reference with no numerals"});
    }
    for (const char* bad : {"&#xD800;", "&#x110000;", "&#99999999999999999999;", "&#0;"}) {
        auto d = decode(bad);
        EXPECT_EQ(d.text, "\xEF\xBF\xBD") << bad;
        EXPECT_EQ(d.errors,
                  std::vector<std::string>{"Invalid character reference: character outside of valid range"});
    }
    // 0x80-0x9F are read as windows-1252, as every browser does.
    EXPECT_EQ(decode("&#150;").text, "\xE2\x80\x93");
    EXPECT_EQ(decode("&#x80;").text, "\xE2\x82\xAC");
    EXPECT_EQ(decode("&#x81;").text, "\xC2\x81"); // unassigned there: kept
    EXPECT_EQ(decode("&#x10FFFF;").text, "\xF4\x8F\xBF\xBF");
}

TEST(Entities, AttributeRules) {
    auto copyEq = decode("&copy=1", true);
    EXPECT_FALSE(copyEq.decoded);
    EXPECT_EQ(copyEq.pos, 1u);
    EXPECT_FALSE(decode("&copyx", true).decoded);
    EXPECT_EQ(decode("&copy;=1", true).text, "\xC2\xA9");
    EXPECT_EQ(decode("&copy=1", false).text, "\xC2\xA9");
    EXPECT_EQ(decode("&copy x", true).text, "\xC2\xA9");
    // The quote that closes the value is never the start of a reference.
    EXPECT_FALSE(decode("&\"", true, U'"').decoded);
    for (const char* none : {"& ", "&<", "&&", "&\t", "&"})
        EXPECT_FALSE(decode(none).decoded) << none;

    EXPECT_EQ(Entities::unescape("a=1&copy=2&lt;", true), "a=1&copy=2<");
    EXPECT_EQ(Entities::unescape("a=1&copy=2&lt;", false), "a=1\xC2\xA9=2<");
    EXPECT_EQ(Entities::unescape("&&amp;&"), "&&&");
}

TEST(Entities, EscapeTextAttributeAndXhtml) {
    auto esc = [](std::string_view in, const Mode& mode, bool attr, std::string_view charset = "UTF-8") {
        std::string out;
        Entities::escape(out, in, mode, charset, attr, false, false);
        return out;
    };
    const std::string in = "a<b>\"c\"&\xC2\xA0";
    EXPECT_EQ(esc(in, Mode::base(), false), "a&lt;b&gt;\"c\"&amp;\xC2\xA0");
    EXPECT_EQ(esc(in, Mode::base(), true), "a<b>&quot;c&quot;&amp;\xC2\xA0");
    EXPECT_EQ(esc(in, Mode::xhtml(), true), "a&lt;b>&quot;c&quot;&amp;\xC2\xA0");
    EXPECT_EQ(Entities::escape("x < y"), "x &lt; y");

    // Characters an output charset cannot hold become hexadecimal references.
    EXPECT_EQ(esc("\xC3\xA9\xE2\x82\xAC", Mode::base(), false, "US-ASCII"), "&#xe9;&#x20ac;");
    EXPECT_EQ(esc("\xC3\xA9\xE2\x82\xAC", Mode::base(), false, "ISO-8859-1"), "\xC3\xA9&#x20ac;");
    EXPECT_EQ(esc("\xF0\x9F\x98\x80", Mode::base(), false, "utf-16"), "\xF0\x9F\x98\x80");
}

TEST(Entities, EscapeWhitespaceNormalisation) {
    auto esc = [](std::string_view in, bool strip) {
        std::string out;
        Entities::escape(out, in, Mode::base(), "UTF-8", false, true, strip);
        return out;
    };
    EXPECT_EQ(esc("  a \t\n b  ", false), " a b ");
    EXPECT_EQ(esc("  a \t\n b  ", true), "a b ");
    EXPECT_EQ(esc("\n\n", true), "");
}

TEST(Entities, EscapeNormalisationMatchesAByteByByteReading) {
    // The escaper copies runs in bulk; compare it with the plain rule over many mixes.
    auto reference = [](std::string_view in, bool strip) {
        std::string out;
        bool lastWasWhite = false, reachedNonWhite = false;
        for (char c : in) {
            if (c == ' ' || (c >= 9 && c <= 13)) {
                if ((strip && !reachedNonWhite) || lastWasWhite) continue;
                out += ' ';
                lastWasWhite = true;
                continue;
            }
            lastWasWhite = false;
            reachedNonWhite = true;
            out += c == '&' ? std::string("&amp;") : std::string(1, c);
        }
        return out;
    };
    const std::string alphabet = "ab &\t\n ";
    std::uint32_t seed = 7;
    for (int round = 0; round < 2000; ++round) {
        std::string in;
        for (int i = 0; i < 12; ++i) {
            seed = seed * 1664525u + 1013904223u;
            in += alphabet[(seed >> 8) % alphabet.size()];
        }
        for (bool strip : {false, true}) {
            std::string out;
            Entities::escape(out, in, Mode::base(), "UTF-8", false, true, strip);
            ASSERT_EQ(out, reference(in, strip)) << "'" << in << "' strip=" << strip;
        }
    }
}

TEST(Utf8, EveryEncodedCharacterIsValidUtf8) {
    std::string out;
    for (char32_t c : {U'a', U'\u00E9', U'\u20AC', U'\U0001F600'})
        html::utf8::append(out, c);
    EXPECT_EQ(out, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    out.clear();
    for (char32_t c : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}})
        html::utf8::append(out, c);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}
