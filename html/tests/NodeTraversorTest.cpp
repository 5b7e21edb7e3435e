#include "html/nodes/NodeTraversor.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/nodes/TextNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

using namespace html;

namespace {

struct Recorder : NodeVisitor {
    std::string log;
    std::function<void(Node&)> onEnter;
    void enter(Node& node, int depth) override {
        log += '<';
        log += node.isTextNode() ? "t" : node.nodeName();
        log += std::to_string(depth);
        if (onEnter) onEnter(node);
    }
    void leave(Node& node, int depth) override {
        log += '>';
        log += node.isTextNode() ? "t" : node.nodeName();
        log += std::to_string(depth);
    }
};

// div > [p > [t, b], span]
Ref<Element> sample() {
    Ref<Element> div = make<Element>(Tag::valueOf("div"));
    Ref<Element> p = div->appendElement("p");
    p->appendText("x");
    p->appendElement("b");
    div->appendElement("span");
    return div;
}

} // namespace

TEST(NodeTraversor, EntersInDocumentOrderAndLeavesAfterChildren) {
    Ref<Element> div = sample();
    Recorder r;
    div->traverse(r);
    EXPECT_EQ(r.log, "<div0<p1<t2>t2<b2>b2>p1<span1>span1>div0");

    // The walk stays inside the subtree it starts from.
    Recorder sub;
    div->childNode(0)->traverse(sub);
    EXPECT_EQ(sub.log, "<p0<t1>t1<b1>b1>p0");
}

TEST(NodeTraversor, AFailureStopsTheWalk) {
    Ref<Element> div = sample();
    Recorder r;
    r.onEnter = [](Node& n) {
        if (n.nodeName() == "b") throw Exception(ExceptionType::IllegalArgumentException, "stop");
    };
    EXPECT_THROW(div->traverse(r), Exception);
    EXPECT_EQ(r.log, "<div0<p1<t2>t2<b2");
}

TEST(NodeTraversor, VisitorMayRemoveTheCurrentNode) {
    Ref<Element> div = sample();
    Recorder r;
    r.onEnter = [](Node& n) {
        if (n.nodeName() == "p") n.remove();
    };
    div->traverse(r);
    EXPECT_EQ(r.log, "<div0<p1<span1>span1>div0");
    EXPECT_EQ(div->childNodeSize(), 1u);
}

TEST(NodeTraversor, MillionDeepChainIsBuiltWalkedCopiedAndFreed) {
    constexpr int depth = 1'000'000;
    Ref<Element> root = make<Element>(Tag::valueOf("div"));
    Element* deepest = root.get();
    for (int i = 0; i < depth; ++i)
        deepest = deepest->appendElement(i % 2 ? "div" : "span").get();
    deepest->appendText("bottom");

    struct Counter : NodeVisitor {
        long entered = 0, left = 0;
        int maxDepth = 0;
        void enter(Node&, int d) override {
            ++entered;
            maxDepth = std::max(maxDepth, d);
        }
        void leave(Node&, int) override { ++left; }
    } counter;
    root->traverse(counter);
    EXPECT_EQ(counter.entered, depth + 2);
    EXPECT_EQ(counter.left, depth + 2);
    EXPECT_EQ(counter.maxDepth, depth + 1);

    EXPECT_EQ(root->text(), "bottom");
    EXPECT_EQ(root->getElementsByTag("span").size(), static_cast<std::size_t>(depth / 2));

    Ref<Node> copy = root->copy();
    Counter copyCounter;
    copy->traverse(copyCounter);
    EXPECT_EQ(copyCounter.entered, depth + 2);
    EXPECT_EQ(copy->outerHtml().size(), root->outerHtml().size());

    copy = nullptr;
    root = nullptr; // both chains are freed without recursion
}

TEST(NodeTraversor, AWalkFromAPlainPointerLeavesTheNodeToItsOwner) {
    Ref<Element> owner = make<Element>(Tag::valueOf("div"));
    owner->appendElement("p");
    Recorder r;
    NodeTraversor(r).traverse(owner.get());
    EXPECT_EQ(r.log, "<div0<p1>p1>div0");
    EXPECT_EQ(owner->childNodeSize(), 1u); // still whole, freed with its owner
}

// Nodes come from make<T>() only: none can be made on the stack and deleted through a Ref.
static_assert(!std::is_constructible_v<Element, TagRef>);
static_assert(!std::is_constructible_v<TextNode, std::string_view>);
static_assert(!std::is_constructible_v<Document, std::string_view>);
