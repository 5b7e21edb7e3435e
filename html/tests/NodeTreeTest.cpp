#include "html/nodes/Comment.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/nodes/TextNode.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace html;

namespace {

Ref<Element> el(std::string_view name) {
    return make<Element>(Tag::valueOf(name));
}

void expectIndexed(const Node& parent) {
    for (std::size_t i = 0; i < parent.childNodeSize(); ++i) {
        EXPECT_EQ(parent.childNode(i)->siblingIndex(), static_cast<int>(i));
        EXPECT_EQ(parent.childNode(i)->parentNode(), &parent);
    }
}

std::string names(const Node& parent) {
    std::string out;
    for (Node* n : parent.getChildNodes()) {
        if (!out.empty()) out += ',';
        out += n->isElement() ? std::string(n->nodeName()) : std::string(n->attr("id"));
    }
    return out;
}

template <class F> std::string failure(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.message();
    }
    return "no failure";
}

} // namespace

TEST(NodeTree, EmptyNodeAndSiblings) {
    Ref<Element> div = el("div");
    EXPECT_EQ(div->childNodeSize(), 0u);
    EXPECT_FALSE(div->hasChildNodes());
    EXPECT_EQ(div->nextSibling(), nullptr);
    EXPECT_TRUE(div->siblingNodes().empty());

    div->appendElement("a");
    div->appendElement("b");
    EXPECT_EQ(div->childNode(1)->nextSibling(), nullptr);
    EXPECT_EQ(div->childNode(0)->nextSibling(), div->childNode(1));
    EXPECT_EQ(div->childNode(1)->previousSibling(), div->childNode(0));
    EXPECT_FALSE(div->childNode(1)->hasNextSibling());
    ASSERT_EQ(div->childNode(0)->siblingNodes().size(), 1u);
}

TEST(NodeTree, InsertingABlockReindexesEveryChild) {
    Ref<Element> div = el("div");
    for (auto n : {"a", "b", "c"})
        div->appendElement(n);
    Ref<Element> x = el("x"), y = el("y");
    div->insertChildren(1, {x.get(), y.get()});
    EXPECT_EQ(names(*div), "a,x,y,b,c");
    expectIndexed(*div);

    div->insertChildren(-1, {el("z").get()});
    EXPECT_EQ(names(*div), "a,x,y,b,c,z");
    div->prependChild(el("first"));
    EXPECT_EQ(names(*div), "first,a,x,y,b,c,z");
    expectIndexed(*div);
}

TEST(NodeTree, InsertPositionBoundsAreCheckedBeforeAnyChange) {
    Ref<Element> div = el("div");
    for (auto n : {"a", "b", "c"})
        div->appendElement(n);
    Ref<Element> x = el("x");
    EXPECT_EQ(failure([&] { div->insertChildren(4, {x.get()}); }), "Insert position out of bounds.");
    EXPECT_EQ(failure([&] { div->insertChildren(-5, {x.get()}); }), "Insert position out of bounds.");
    EXPECT_EQ(failure([&] {
                  div->insertChildren(0, {x.get(), nullptr});
              }),
              "Array must not contain any null objects");
    EXPECT_EQ(names(*div), "a,b,c");
    EXPECT_EQ(x->parentNode(), nullptr);
    div->insertChildren(3, {x.get()});
    EXPECT_EQ(names(*div), "a,b,c,x");
    div->insertChildren(-4, {el("y").get()});
    EXPECT_EQ(names(*div), "a,y,b,c,x");
}

TEST(NodeTree, InsertingAnAttachedNodeMovesIt) {
    Ref<Element> one = el("one"), two = el("two");
    for (auto n : {"a", "b", "c"})
        one->appendElement(n);
    two->appendElement("d");
    Ref<Node> b = one->childNode(1);
    two->prependChild(b);
    EXPECT_EQ(names(*one), "a,c");
    EXPECT_EQ(names(*two), "b,d");
    expectIndexed(*one);
    expectIndexed(*two);

    // Moving within the same parent: appending the first child puts it last.
    two->appendChild(two->childNode(0));
    EXPECT_EQ(names(*two), "d,b");
    expectIndexed(*two);
    one->insertChildren(2, {one->childNode(0)});
    EXPECT_EQ(names(*one), "c,a");
    expectIndexed(*one);
}

TEST(NodeTree, RemoveChildRequiresTheParent) {
    Ref<Element> one = el("one"), two = el("two");
    one->appendElement("a");
    two->appendElement("b");
    Ref<Node> b = two->childNode(0);
    EXPECT_EQ(failure([&] { one->removeChild(b); }), "Must be true");
    EXPECT_EQ(names(*two), "b");
    EXPECT_EQ(b->parentNode(), two.get());

    for (auto n : {"c", "d"})
        one->appendElement(n);
    Ref<Node> a = one->childNode(0);
    one->removeChild(a);
    EXPECT_EQ(a->parentNode(), nullptr);
    EXPECT_EQ(names(*one), "c,d");
    expectIndexed(*one);
}

TEST(NodeTree, ReplaceUnwrapBeforeAfter) {
    Ref<Element> div = el("div");
    for (auto n : {"a", "b", "c"})
        div->appendElement(n);
    Ref<Element> x = el("x");
    x->appendElement("x1");
    x->appendElement("x2");
    Ref<Node> b = div->childNode(1);
    b->replaceWith(x);
    EXPECT_EQ(names(*div), "a,x,c");
    EXPECT_EQ(b->parentNode(), nullptr);
    expectIndexed(*div);

    EXPECT_EQ(failure([&] { div->replaceChild(b, el("y")); }), "Must be true");

    Node* first = x->unwrap();
    EXPECT_EQ(first->nodeName(), "x1");
    EXPECT_EQ(names(*div), "a,x1,x2,c");
    EXPECT_EQ(x->parentNode(), nullptr);
    expectIndexed(*div);

    div->childNode(0)->after(el("after-a"));
    div->childNode(0)->before(el("before-a"));
    EXPECT_EQ(names(*div), "before-a,a,after-a,x1,x2,c");
    expectIndexed(*div);
    EXPECT_EQ(failure([&] { el("lonely")->before(el("y")); }), "Object must not be null");

    div->empty();
    EXPECT_EQ(div->childNodeSize(), 0u);
}

TEST(NodeTree, ANodeCannotBecomeItsOwnDescendant) {
    Ref<Element> outer = el("outer");
    Ref<Element> inner = outer->appendElement("inner");
    Ref<Element> leaf = inner->appendElement("leaf");
    EXPECT_NE(failure([&] { leaf->appendChild(outer); }), "no failure");
    EXPECT_NE(failure([&] { inner->appendChild(inner); }), "no failure");
    EXPECT_EQ(leaf->parentNode(), inner.get());
    EXPECT_EQ(outer->parentNode(), nullptr);
}

TEST(NodeTree, RemovedNodesStayAliveWhileReferenced) {
    Ref<Element> div = el("div");
    Ref<Element> p = div->appendElement("p");
    p->appendText("hello");
    Elements held = div->children();
    p = nullptr;
    div = nullptr; // frees the div; the list still holds p
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0]->parentNode(), nullptr);
    EXPECT_EQ(held[0]->text(), "hello");
}

TEST(NodeTree, NavigationByElements) {
    Ref<Document> doc = Document::createShell("http://example.com/");
    Element* body = doc->body();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(doc->head()->nodeName(), "head");
    body->appendText("t");
    Ref<Element> a = body->appendElement("a");
    body->appendChild(make<Comment>("c"));
    Ref<Element> b = body->appendElement("b");
    Ref<Element> c = body->appendElement("c");

    EXPECT_EQ(body->children().size(), 3u);
    EXPECT_EQ(body->child(2), c.get());
    EXPECT_EQ(body->child(3), nullptr);
    EXPECT_EQ(b->elementSiblingIndex(), 1u);
    EXPECT_EQ(a->nextElementSibling(), b.get());
    EXPECT_EQ(b->previousElementSibling(), a.get());
    EXPECT_EQ(a->previousElementSibling(), nullptr);
    EXPECT_EQ(c->firstElementSibling(), a.get());
    EXPECT_EQ(a->lastElementSibling(), c.get());
    EXPECT_EQ(b->siblingElements().size(), 2u);
    EXPECT_EQ(body->textNodes().size(), 1u);

    Elements parents = c->parents();
    ASSERT_EQ(parents.size(), 2u);
    EXPECT_EQ(parents[0]->tagName(), "body");
    EXPECT_EQ(parents[1]->tagName(), "html");
    EXPECT_EQ(c->ownerDocument(), doc.get());
    EXPECT_EQ(el("x")->elementSiblingIndex(), 0u);
    EXPECT_EQ(doc->child(0)->firstElementSibling(), nullptr); // an only child
}

TEST(NodeTree, HasClassRules) {
    Ref<Element> e = el("div");
    EXPECT_FALSE(e->hasClass("a"));
    e->attr("class", "noteText extra");
    EXPECT_TRUE(e->hasClass("noteText"));
    EXPECT_TRUE(e->hasClass("NOTETEXT"));
    EXPECT_TRUE(e->hasClass("extra"));
    EXPECT_FALSE(e->hasClass("note"));
    EXPECT_FALSE(e->hasClass("noteTextual"));
    e->attr("class", "NOTETEXT");
    EXPECT_TRUE(e->hasClass("noteText"));
    e->attr("class", "\ta\nb\x0B"
                     "c ");
    EXPECT_TRUE(e->hasClass("c"));
    EXPECT_TRUE(e->hasClass("b"));
    // Looked up by exact key: "CLASS" is another attribute.
    Ref<Element> f = el("div");
    f->attr("CLASS", "x");
    EXPECT_FALSE(f->hasClass("x"));

    e->attr("class", "one two one");
    EXPECT_EQ(e->classNames(), (std::vector<std::string>{"one", "two"}));
    e->addClass("three").removeClass("one").toggleClass("two").toggleClass("four");
    EXPECT_EQ(e->className(), "three four");
}

TEST(NodeTree, CopyIsDeepAndDetached) {
    Ref<Element> div = el("div");
    div->attr("id", "d");
    Ref<Element> p = div->appendElement("p");
    p->appendText("hi");
    div->appendElement("span");

    Ref<Node> copy = p->copy();
    EXPECT_EQ(copy->parentNode(), nullptr);
    EXPECT_NE(copy.get(), p.get());
    Ref<Node> whole = div->copy();
    ASSERT_EQ(whole->childNodeSize(), 2u);
    expectIndexed(*whole);
    EXPECT_EQ(whole->attr("id"), "d");
    whole->attr("id", "changed");
    EXPECT_EQ(div->attr("id"), "d");
    EXPECT_EQ(static_cast<TextNode*>(whole->childNode(0)->childNode(0))->getWholeText(), "hi");
}

TEST(NodeTree, NodesStaySmall) {
    // On the heap the allocator adds 8 bytes, in an arena the link to the arena does: either way an
    // element takes at most 88 bytes and a text node 80.
    static_assert(sizeof(Element) + 8 <= 88);
    static_assert(sizeof(TextNode) + 8 <= 80);
}

// A Ref hands out its pointer only when asked: `Document* d = html::parse(s);` would dangle.
static_assert(!std::is_convertible_v<html::Ref<html::Document>, html::Document*>);
static_assert(!std::is_convertible_v<html::Ref<html::Element>, html::Node*>);
static_assert(std::is_constructible_v<bool, html::Ref<html::Element>>);
