#include "html/nodes/Elements.h"
#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"
#include "html/nodes/FormElement.h"

#include <gtest/gtest.h>

using namespace html;

namespace {
Ref<Element> el(std::string_view name) {
    return make<Element>(Tag::valueOf(name));
}
} // namespace

TEST(Elements, EmptyCollectionEnds) {
    Elements none;
    EXPECT_EQ(none.first(), nullptr);
    EXPECT_EQ(none.last(), nullptr);
    EXPECT_TRUE(none.eq(0).isEmpty());
    EXPECT_EQ(none.makeIterator().next(), nullptr);
    EXPECT_EQ(none.attr("href"), "");
    EXPECT_EQ(none.val(), "");
}

TEST(Elements, IterationYieldsMembersThenNone) {
    Ref<Element> a = el("a"), b = el("b");
    Elements list{a.get(), b.get()};
    auto it = list.makeIterator();
    EXPECT_EQ(it.next(), a.get());
    EXPECT_EQ(it.next(), b.get());
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(list.first(), a.get());
    EXPECT_EQ(list.last(), b.get());
    EXPECT_EQ(list.eq(1).first(), b.get());
    EXPECT_TRUE(list.eq(2).isEmpty());
    list.add(0, b.get());
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], b.get());
}

TEST(Elements, BulkAttributesAndClasses) {
    Ref<Element> a = el("a"), b = el("a"), c = el("a");
    b->attr("href", "/b");
    c->attr("HREF", "/c");
    Elements list{a.get(), b.get(), c.get()};
    EXPECT_EQ(list.attr("href"), "/b");
    EXPECT_TRUE(list.hasAttr("href"));
    list.attr("title", "t").addClass("x");
    EXPECT_EQ(a->attr("title"), "t");
    EXPECT_TRUE(c->hasClass("x"));
    EXPECT_TRUE(list.hasClass("X"));
    list.removeAttr("href").toggleClass("x");
    EXPECT_FALSE(list.hasAttr("href"));
    EXPECT_FALSE(list.hasClass("x"));
    list.val("v");
    EXPECT_EQ(list.val(), "v");

    try {
        list.tagName("");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Tag name must not be empty.");
    }
    list.tagName("span");
    EXPECT_EQ(b->tagName(), "span");
}

TEST(Elements, ParentsAreListedOnce) {
    Ref<Element> outer = el("section");
    Ref<Element> parent = outer->appendElement("div");
    Ref<Element> one = parent->appendElement("p");
    Ref<Element> two = parent->appendElement("p");
    Elements parents = Elements{one.get(), two.get()}.parents();
    ASSERT_EQ(parents.size(), 2u);
    EXPECT_EQ(parents[0], parent.get());
    EXPECT_EQ(parents[1], outer.get());
}

TEST(Elements, TreeOperationsOnEveryMember) {
    Ref<Element> root = el("div");
    Ref<Element> a = root->appendElement("a");
    a->appendText("one");
    Ref<Element> b = root->appendElement("b");
    b->appendText("two");
    Ref<FormElement> form = make<FormElement>(Tag::valueOf("form"));
    root->appendChild(form);

    EXPECT_EQ(root->children().forms().size(), 1u);
    Elements{a.get(), b.get()}.unwrap();
    EXPECT_EQ(root->childNodeSize(), 3u);
    EXPECT_EQ(root->text(), "onetwo"); // inline neighbours: no space between them
    root->children().remove();
    EXPECT_EQ(root->childNodeSize(), 2u);
    Elements{root.get()}.empty();
    EXPECT_FALSE(root->hasChildNodes());
}
