#include "notara/core/sources/books/EpubCfi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using notara::EpubCfi;

namespace {

EpubCfi cfi(const std::string& text) {
    auto parsed = EpubCfi::parse(text);
    if (!parsed) throw std::runtime_error("not a CFI: " + text);
    return *parsed;
}

int order(const std::string& a, const std::string& b) {
    return EpubCfi::compare(cfi(a), cfi(b));
}

} // namespace

TEST(EpubCfi, ReadsRangesPointsOffsetsAndAssertions) {
    const EpubCfi range = cfi("epubcfi(/6/24[c_9780465008575_ps_Part09_Split3]!/4/2/296/2,/1:0,/7:257)");
    EXPECT_TRUE(range.isRange());
    EXPECT_EQ(range.start().steps, (std::vector<std::uint64_t>{6, 24, 4, 2, 296, 2, 1}));
    EXPECT_EQ(range.start().characterOffset, 0u);
    EXPECT_EQ(range.end().steps, (std::vector<std::uint64_t>{6, 24, 4, 2, 296, 2, 7}));
    EXPECT_EQ(range.end().characterOffset, 257u);

    const EpubCfi offsetsOnly = cfi("epubcfi(/6/26[c_9780465008575_ps_Part09_Split4]!/4/2/446/2/1,:0,:679)");
    EXPECT_EQ(offsetsOnly.start().steps, offsetsOnly.end().steps);
    EXPECT_EQ(offsetsOnly.end().characterOffset, 679u);

    const EpubCfi point = cfi("epubcfi(/6/4[chap01ref]!/4[body01]/10[para05]/3:10[yyy,zzz;s=b])");
    EXPECT_FALSE(point.isRange());
    EXPECT_EQ(point.start().steps, (std::vector<std::uint64_t>{6, 4, 4, 10, 3}));
    EXPECT_EQ(point.end(), point.start());

    // Escapes inside assertions: "^]" does not end it, "^[" does not open another.
    EXPECT_TRUE(EpubCfi::parse("epubcfi(/6/4[id1^[x^]]!/4[a^]b]/2:3)"));
    EXPECT_TRUE(EpubCfi::parse("epubcfi(/6/4[with spaces in it]!/2[id1]:3)"));
    const EpubCfi media = cfi("epubcfi(/6/4!/4/2~23.5@10:20.25)");
    EXPECT_DOUBLE_EQ(*media.start().temporalOffset, 23.5);
    EXPECT_DOUBLE_EQ(media.start().spatialOffset->second, 20.25);
    EXPECT_TRUE(EpubCfi::parse("epubcfi(/6/4!/4/2@0:100)"));
    EXPECT_TRUE(EpubCfi::parse("epubcfi(/99999999999999999999999/4)")); // saturates, still a CFI
}

TEST(EpubCfi, SaysNotACfiForMalformedText) {
    for (const char* text : {"",
                             "epubcfi(",
                             "epubcfi()",
                             "/6/4!/4/2:3",
                             "epubcfi(/6/4!/4/2:3",
                             "epubcfi(/6/4!)",
                             "epubcfi(/6/4!/4/)",
                             "epubcfi(/6/a)",
                             "epubcfi(/6/04)",
                             "epubcfi(/6/4[unclosed)",
                             "epubcfi(/6/4[bad^)",
                             "epubcfi(/6/4[a[b]])",
                             "epubcfi(/6/4:)",
                             "epubcfi(/6/4~)",
                             "epubcfi(/6/4@1)",
                             "epubcfi(/6/4,/2:1)",
                             "epubcfi(/6/4,/2:1,/4:1,/6)",
                             "epubcfi(/6/4:3,/2:1,/4:1)",
                             "epubcfi(/6/4)x",
                             "epubcfi(/6/4~1.)",
                             "EPUBCFI(/6/4)",
                             "epubcfi(6/4)"}) {
        EXPECT_FALSE(EpubCfi::parse(text)) << text;
    }
    // Every cut of a real value either parses or is refused; none reads past its end.
    const std::string real = "epubcfi(/6/96[ch36]!/4[text]/2[ch36]/4,/124/1:0,/134/5:41)";
    for (size_t n = 0; n < real.size(); ++n)
        EXPECT_FALSE(EpubCfi::parse(std::string_view(real).substr(0, n))) << n;
}

TEST(EpubCfi, OrdersAsTheBookReads) {
    EXPECT_LT(order("epubcfi(/6/4!/4/2:0)", "epubcfi(/6/10!/4/2:0)"), 0); // numbers, not text
    EXPECT_LT(order("epubcfi(/6/10!/4/2/1:99)", "epubcfi(/6/10!/4/10/1:0)"), 0);
    EXPECT_LT(order("epubcfi(/6/10!/4/2)", "epubcfi(/6/10!/4/2/1:0)"), 0);      // ancestor first
    EXPECT_LT(order("epubcfi(/6/10!/4/2/1:5)", "epubcfi(/6/10!/4/2/1:40)"), 0); // offsets
    EXPECT_LT(order("epubcfi(/6/10!/4/2/1)", "epubcfi(/6/10!/4/2/1:1)"), 0);    // missing offset is 0
    EXPECT_EQ(order("epubcfi(/6/10[a]!/4[b]/2/1:5)", "epubcfi(/6/10!/4/2/1:5[x,y])"),
              0); // assertions ignored
    EXPECT_LT(order("epubcfi(/6/10!/4,/2/1:5,/2/1:9)", "epubcfi(/6/10!/4,/2/1:5,/4/1:0)"), 0); // ends first
    EXPECT_EQ(order("epubcfi(/6/10!/4,/2/1:5,/2/1:9)", "epubcfi(/6/10!/4/2,/1:5,/1:9)"), 0);   // same range
    EXPECT_LT(order("epubcfi(/6/10!/4/2/1:5)", "epubcfi(/6/10!/4/2,/1:5,/1:9)"), 0);
    EXPECT_LT(order("epubcfi(/6/4!/4/2~1@5:1)", "epubcfi(/6/4!/4/2~1@1:2)"), 0); // spatial: y before x
    EXPECT_LT(order("epubcfi(/6/42[c17]!/4,/14/1:41,/20/1:359)",
                    "epubcfi(/6/96[ch36]!/4[text]/2[ch36]/4,/124/1:0,/134/5:41)"),
              0);
}

TEST(EpubCfi, SortKeysOrderAsCompareDoes) {
    std::mt19937 random(7);
    std::vector<EpubCfi> all;
    for (int i = 0; i < 400; ++i) {
        std::string text = std::string("epubcfi(/6/") + std::to_string(2 * (random() % 4));
        if (random() % 2) text += std::string("[id") + std::to_string(random() % 3) + "]";
        text += "!";
        for (int depth = 1 + random() % 3; depth > 0; --depth) {
            text += '/'; // appended apart: GCC 12 warns wrongly about "/" + to_string here
            text += std::to_string(random() % 5);
        }
        if (random() % 2)
            text += std::string(",/") + std::to_string(random() % 3) + std::string(":") +
                    std::to_string(random() % 4) + ",/" + std::to_string(3 + random() % 3) +
                    std::string(":") + std::to_string(random() % 4);
        else if (random() % 2)
            text += std::string(":") + std::to_string(random() % 4);
        all.push_back(cfi(text + ")"));
    }
    // Numbers too large for one key word, and media offsets, keep their order too.
    for (const char* text :
         {"epubcfi(/6/4!/4/6000000000/1)", "epubcfi(/6/4!/4/5000000000/2)", "epubcfi(/6/4!/4/2147483647/2)",
          "epubcfi(/6/4!/4/99999999999999999999999)", "epubcfi(/6/4!/4/2:4294967296)",
          "epubcfi(/6/4!/4/2~0.0002)", "epubcfi(/6/4!/4/2~0.0001@3:4)"})
        all.push_back(cfi(text));
    for (const char* text : {"epubcfi(/6/4!/4/2:4294967297)", "epubcfi(/6/4!/4/5000000000/2)"})
        all.push_back(cfi(text));
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        const int byCompare = EpubCfi::compare(all[i], all[i + 1]);
        const auto a = all[i].sortKey(), b = all[i + 1].sortKey();
        const int byKey = a < b ? -1 : (b < a ? 1 : 0);
        EXPECT_EQ(byCompare < 0 ? -1 : (byCompare > 0 ? 1 : 0), byKey) << i;
    }
}
