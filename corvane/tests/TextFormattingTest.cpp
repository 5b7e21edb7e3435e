#include "corvane/TextFormatting.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <vector>

using namespace corvane;
using enum TextCleaningOperations;
using enum BooleanStringReturnStyle;

namespace {

// Switches ICU's default locale for one test and puts the previous one back.
class DefaultLocale {
public:
    explicit DefaultLocale(const char* name) : saved_(icu::Locale::getDefault()) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(name), status);
    }
    ~DefaultLocale() {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(saved_, status);
    }

private:
    icu::Locale saved_;
};

std::string strip(std::string_view text) {
    return cleanStringWithOptions(text, {RemoveNonAlphaNumericPeriods});
}

} // namespace

TEST(CleanString, StepsRunInFixedOrderWhateverTheListOrder) {
    EXPECT_EQ(cleanStringWithOptions("a\nb", {CleanForHTML, RemoveNewLines}), "a b");
    EXPECT_EQ(cleanStringWithOptions("a\n\"b\"", {CSVSafe, CleanForHTML, CSVSafe}), "a<br>\"\"b\"\"");
    // "<br>" is made before stray characters go; new lines become spaces before gaps are closed.
    EXPECT_EQ(cleanStringWithOptions("a\nb", {RemoveNonAlphaNumericPeriods, CleanForHTML}), "abrb");
    EXPECT_EQ(cleanStringWithOptions("a\n!\nb", {RemoveNonAlphaNumericPeriods, RemoveNewLines}), "a b");
    EXPECT_EQ(cleanStringWithOptions("a\n\"!  \"", {}), "a\n\"!  \"");
}

TEST(CleanString, QuotesCarriageReturnsAndSpaces) {
    EXPECT_EQ(cleanStringWithOptions("\"", {CSVSafe}), "\"\"");
    EXPECT_EQ(cleanStringWithOptions("a\r\nb", {RemoveNewLines}), "a\r b");
    EXPECT_EQ(cleanStringWithOptions("a\r\nb", {CleanForHTML}), "a\r<br>b");
    EXPECT_EQ(csvEscapeString("say \"hi\"\r\n"), "say \"\"hi\"\"\n");
    // The carriage return goes before spaces are halved, and halving is a single pass.
    EXPECT_EQ(csvEscapeString("a \r b   c"), "a b  c");
    EXPECT_EQ(strip("a, b!"), "a b");
    EXPECT_EQ(strip("a    b ! ? c"), "a  b  c");
}

TEST(CleanString, RemovesWholeUserPerceivedCharacters) {
    EXPECT_EQ(strip("Version 2.0_beta-1 (caf\u00e9)"), "Version 2.0beta1 caf");
    // A decomposed letter goes with its accent; a keycap digit, an emoji with a skin tone and
    // a flag go as single characters.
    EXPECT_EQ(strip("cafe\u0301 ok\U0001F44D\U0001F3FDa1\uFE0F\u20E3b\U0001F1E9\U0001F1EA."), "caf okab.");
    EXPECT_EQ(strip("a\xff"
                    "b"),
              "ab");
    // Decimal digits of other scripts stay, a superscript two does not; every kind of white
    // space stays, CR LF included.
    EXPECT_EQ(strip("\u0663\u0664 \u096a \uff13 x\u00b2"), "\u0663\u0664 \u096a \uff13 x");
    EXPECT_EQ(strip("a\u00a0b\vc\u0085d\u3000e\r\nf"), "a\u00a0b\vc\u0085d\u3000e\r\nf");
}

TEST(BooleanString, TruthTable) {
    const std::vector<std::pair<std::vector<BooleanStringReturnStyle>, std::string>> rows{
        {{}, "YES NO"},
        {{Full}, "YES NO"},
        {{Compact}, "Y N"},
        {{Titlecase}, "Yes No"},
        {{Lowercase}, "yes no"},
        {{Compact, Lowercase}, "y n"},
        {{Compact, Titlecase}, "Y N"},
        {{Uppercase, Lowercase}, "YES NO"},
        {{Titlecase, Lowercase}, "yes no"},
    };
    for (const auto& [styles, expected] : rows) {
        EXPECT_EQ(convertToStringWithFormatOptions(true, styles) + " " +
                      convertToStringWithFormatOptions(false, styles),
                  expected);
    }
}

TEST(PreciseNumber, FormatsInTheDefaultLocale) {
    {
        DefaultLocale german("de_DE");
        EXPECT_EQ(preciseNumber("3.14159", 2), "3,14");
        EXPECT_EQ(preciseNumber("-1234.5e0", 2), "-1234,50");
        EXPECT_EQ(preciseNumber("1,5", 1), "0,0"); // reading never follows the locale
    }
    DefaultLocale english("en_US");
    EXPECT_EQ(preciseNumber("3.14159", 2), "3.14");
    EXPECT_EQ(preciseNumber("+7", 3), "7.000");
    EXPECT_EQ(preciseNumber("0.125", 2), "0.12"); // ties go to the even digit
    EXPECT_EQ(preciseNumber("3.7", -1), "4");
    // Absurd counts are capped rather than garbled, yet the smallest double still shows.
    EXPECT_EQ(preciseNumber("0.25", 100000).size(), 342u);
    EXPECT_EQ(preciseNumber("5e-324", 400).find_first_not_of("0."), 2u + 323u);
    for (const char* text : {"abc", "", " 1", "1 ", "12abc", "."}) {
        EXPECT_EQ(preciseNumber(text, 2), "0.00") << '"' << text << '"';
    }
}
