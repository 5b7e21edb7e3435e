#include "html/nodes/Attributes.h"
#include "html/nodes/Attribute.h"
#include "html/nodes/ClassNames.h"
#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"

#include <gtest/gtest.h>

using namespace html;

TEST(Attributes, AttrIgnoresCaseButGetDoesNot) {
    Ref<Element> a = make<Element>(Tag::valueOf("a"));
    a->attr("href", "/x");
    EXPECT_EQ(a->attr("HREF"), "/x");
    EXPECT_TRUE(a->hasAttr("Href"));
    EXPECT_EQ(a->getAttributes().get("HREF"), "");
    EXPECT_EQ(a->getAttributes().getIgnoreCase("HREF"), "/x");
    EXPECT_TRUE(a->getAttributes().hasKeyIgnoreCase("HREF"));
    EXPECT_FALSE(a->getAttributes().hasKey("HREF"));
    EXPECT_THROW(a->getAttributes().getIgnoreCase(""), Exception);
    a->removeAttr("HREF");
    EXPECT_FALSE(a->hasAttr("href"));
}

TEST(Attributes, PutReplacesInPlaceOrAppends) {
    Attributes attrs;
    attrs.put("id", "1").put("class", "a").put("title", "t");
    attrs.put("class", "b");
    ASSERT_EQ(attrs.size(), 3u);
    EXPECT_EQ(attrs[1].getKey(), "class");
    EXPECT_EQ(attrs[1].getValue(), "b");
    attrs.put("Class", "c");
    ASSERT_EQ(attrs.size(), 4u);
    EXPECT_EQ(attrs[3].getKey(), "Class");

    // The lower-cased key cache must follow every change.
    EXPECT_TRUE(attrs.hasKeyIgnoreCase("TITLE"));
    attrs.remove("title");
    EXPECT_FALSE(attrs.hasKeyIgnoreCase("TITLE"));
    attrs.put("TiTle", "again");
    EXPECT_TRUE(attrs.hasKeyIgnoreCase("title"));
    attrs.removeIgnoreCase("TITLE");
    EXPECT_FALSE(attrs.hasKeyIgnoreCase("title"));

    attrs.put("checked", true);
    EXPECT_TRUE(attrs.hasKey("checked"));
    EXPECT_EQ(attrs.get("checked"), "");
    attrs.put("checked", false);
    EXPECT_FALSE(attrs.hasKey("checked"));

    Attributes more;
    more.put("id", "2").put("lang", "en");
    attrs.addAll(more);
    EXPECT_EQ(attrs.get("id"), "2");
    EXPECT_EQ(attrs[0].getKey(), "id");
    EXPECT_EQ(attrs.get("lang"), "en");
    Attributes copy = attrs.clone();
    EXPECT_TRUE(copy == attrs);
    copy.put("id", "3");
    EXPECT_FALSE(copy == attrs);
}

TEST(Attributes, BooleanNamesAndDataset) {
    for (const char* key : {"checked", "CHECKED", "Checked", "typemustmatch", "allowfullscreen", "open"})
        EXPECT_TRUE(Attribute::isBooleanAttribute(key)) << key;
    for (const char* key : {"check", "checkedx", "", "href", "openx"})
        EXPECT_FALSE(Attribute::isBooleanAttribute(key)) << key;

    Attributes attrs;
    attrs.put("data-name", "n").put("data-", "not data").put("DATA-x", "upper").put("data-long-key", "v");
    auto data = attrs.dataset();
    EXPECT_EQ(data.size(), 2u);
    EXPECT_EQ(data["name"], "n");
    EXPECT_EQ(data["long-key"], "v");
}

TEST(Attributes, AbsoluteUrlsResolveAgainstTheBaseUri) {
    Ref<Element> a = make<Element>(Tag::valueOf("a"), "http://example.com/dir/page.html?q=1");
    a->attr("href", "../other/x.html#frag");
    EXPECT_EQ(a->absUrl("href"), "http://example.com/other/x.html#frag");
    EXPECT_EQ(a->attr("abs:href"), "http://example.com/other/x.html#frag");
    EXPECT_TRUE(a->hasAttr("abs:href"));
    EXPECT_FALSE(a->hasAttr("abs:src"));
    a->attr("src", "?p=2");
    EXPECT_EQ(a->absUrl("src"), "http://example.com/dir/page.html?p=2");
    a->attr("src", "//cdn.example.org/a/./b/../c");
    EXPECT_EQ(a->absUrl("src"), "http://cdn.example.org/a/c");
    a->attr("src", "mailto:x@example.com");
    EXPECT_EQ(a->absUrl("src"), "mailto:x@example.com");

    Ref<Element> noBase = make<Element>(Tag::valueOf("a"));
    noBase->attr("href", "relative.html");
    EXPECT_EQ(noBase->absUrl("href"), "");
    noBase->setBaseUri("https://h/x/");
    EXPECT_EQ(noBase->absUrl("href"), "https://h/x/relative.html");
}

TEST(ClassNames, SplitsAtEverySeparatorAndSkipsEmptyNames) {
    std::vector<std::string_view> names;
    for (std::string_view name : html::ClassNames("\t noteText\n\x0B highlight_Yellow\f\r  x  "))
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"noteText", "highlight_Yellow", "x"}));
    const html::ClassNames blank(" \t "), empty("");
    EXPECT_EQ(blank.begin(), blank.end());
    EXPECT_EQ(empty.begin(), empty.end());
}
