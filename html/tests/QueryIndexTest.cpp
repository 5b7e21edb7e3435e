#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"

#include <gtest/gtest.h>

using namespace html;

namespace {
Ref<Element> el(std::string_view name, std::string_view id) {
    Ref<Element> e = make<Element>(Tag::valueOf(name));
    e->attr("id", id);
    return e;
}

std::string ids(const Elements& found) {
    std::string out;
    for (const auto& e : found)
        out += e->id();
    return out;
}
} // namespace

TEST(QueryIndex, ListsElementsShallowFirst) {
    // root(1) > [div(2) > div(4) > div(6)], [span > div(5)], div(3)
    Ref<Element> root = el("div", "1");
    Ref<Element> d2 = el("div", "2");
    Ref<Element> span = el("span", "s");
    Ref<Element> d3 = el("DIV", "3");
    root->appendChild(d2).appendChild(span).appendChild(d3);
    Ref<Element> d4 = el("div", "4");
    d2->appendChild(d4);
    span->appendChild(el("div", "5"));
    d4->appendChild(el("div", "6"));

    EXPECT_EQ(ids(root->getElementsByTag("DIV")), "123456");
    EXPECT_EQ(ids(root->getElementsByTag(" div ")), "123456");
    EXPECT_EQ(ids(d2->getElementsByTag("div")), "246");
    EXPECT_THROW(root->getElementsByTag(""), Exception);
    EXPECT_TRUE(root->getElementsByTag("p").isEmpty());

    // Changes anywhere below are seen by every index above.
    d4->appendChild(el("div", "7"));
    EXPECT_EQ(ids(root->getElementsByTag("div")), "1234567");
    EXPECT_EQ(ids(d2->getElementsByTag("div")), "2467");
    d4->remove();
    EXPECT_EQ(ids(root->getElementsByTag("div")), "1235");
    EXPECT_EQ(ids(d2->getElementsByTag("div")), "2");
    // A removed subtree keeps a working index of its own.
    EXPECT_EQ(ids(d4->getElementsByTag("div")), "467");

    // Moving an indexed subtree into another indexed tree.
    Ref<Element> other = el("section", "o");
    EXPECT_EQ(ids(other->getElementsByTag("div")), "");
    other->appendChild(d4);
    EXPECT_EQ(ids(other->getElementsByTag("div")), "467");
    d4->childNode(1)->remove(); // div 7
    EXPECT_EQ(ids(other->getElementsByTag("div")), "46");
    EXPECT_EQ(ids(d4->getElementsByTag("div")), "46");

    // Renaming changes what the ancestors find.
    d3->tagName("p");
    EXPECT_EQ(ids(root->getElementsByTag("div")), "125");
    EXPECT_EQ(ids(root->getElementsByTag("p")), "3");
    root->getElementsByTag("div")[1]->replaceWith(el("div", "9"));
    EXPECT_EQ(ids(root->getElementsByTag("div")), "195");
}
