#include "notara/core/sources/kindle/KindleHeading.h"

#include <gtest/gtest.h>

using notara::KindleHeading;

namespace {

struct Expected {
    const char* heading;
    const char* chapter;
    const char* page;
    std::optional<std::int64_t> location;
};

} // namespace

TEST(KindleHeading, ReadsPageLocationAndSectionPathInEveryLanguage) {
    const Expected cases[] = {
        {"Highlight (yellow) - 6. LOOK > Page 77 · Location 805", "6. LOOK", "77", 805},
        {"Highlight (yellow) - Part One > 6. LOOK - again > Page xii · Location 1,805",
         "Part One > 6. LOOK - again", "xii", 1805},
        {"Highlight (blue) - Location 160", "", "", 160},
        {"Note - Page 3 · Location 75", "", "3", 75},
        {"Highlight (pink) - Page 12", "", "12", std::nullopt},
        {"Markierung (gelb) - Seite 5 · Position 590", "", "5", 590},
        {"Surlignement (jaune) - Page 14 · Emplacement 122", "", "14", 122},
        {"Subrayado (amarillo) - Página 174 · Posición 2654", "", "174", 2654},
        {"Evidenziazione (giallo) - Pagina 112 · Posizione 1300", "", "112", 1300},
        {"Destaque (amarelo) - Página 45 · Posição 801", "", "45", 801},
        {"Markering (geel) - Pagina 112 · Locatie 1300", "", "112", 1300},
        {"ハイライト(ピンク) - ページ12 · 位置No. 180", "", "12", 180},
        {"ハイライト(黄色) - 第一章 > ページ23 ·位置607", "第一章", "23", 607},
        {"标注(黄色) - 第 7 页 · 位置 95", "", "7", 95},
        {"Выделение (желтый) - Страница 9 · Позиция 120", "", "9", 120},
        {"Bookmark", "", "", std::nullopt},
        {"Highlight (yellow) - Page · Location", "", "", std::nullopt}, // unreadable: kept empty
    };
    for (const Expected& c : cases) {
        const KindleHeading heading = KindleHeading::parse(c.heading);
        EXPECT_EQ(heading.chapter, c.chapter) << c.heading;
        EXPECT_EQ(heading.page, c.page) << c.heading;
        EXPECT_EQ(heading.location, c.location) << c.heading;
    }
}

TEST(KindleHeading, CollapsesOnlyAsciiSpace) {
    EXPECT_EQ(KindleHeading::collapseAsciiSpace(" \t6.\r\n  LOOK \f"), "6. LOOK");
    EXPECT_EQ(KindleHeading::collapseAsciiSpace("\xC2\xA0"
                                                "A\xE3\x80\x80"
                                                "B "),
              "\xC2\xA0"
              "A\xE3\x80\x80"
              "B");
}
