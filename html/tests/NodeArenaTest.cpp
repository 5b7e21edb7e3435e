#include "html/nodes/NodeArena.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"
#include "html/nodes/TextNode.h"
#include "html/parser/Parser.h"

#include <gtest/gtest.h>

#include <string>

using namespace html;

namespace {

std::size_t subtreeSize(Node& node) {
    std::size_t n = 0;
    NodeTraversor::forEach(
        node, [&](Node&, int) { ++n; }, [](Node&, int) {});
    return n;
}

std::string compact(const Element& el) {
    OutputSettings settings;
    settings.prettyPrint(false);
    StringBuilder out;
    el.outerHtml(out, settings);
    return out.toString();
}

} // namespace

TEST(NodeArena, ReusesFreedPiecesBySizeAndSendsLargeOnesToTheHeap) {
    Ref<NodeArena> arena = NodeArena::create(4096);
    void* a = arena->allocate(40);
    void* b = arena->allocate(40);
    EXPECT_NE(a, b);
    arena->deallocate(a, 40);
    EXPECT_EQ(arena->allocate(37), a) << "a freed piece of the same rounded size is handed out again";
    const std::size_t reserved = arena->reservedBytes();
    void* big = arena->allocate(NodeArena::kLargest + 1);
    EXPECT_EQ(arena->reservedBytes(), reserved) << "large requests do not come from the blocks";
    arena->deallocate(big, NodeArena::kLargest + 1);
    // A long run of allocate and free of mixed sizes takes one piece of each size, then no more.
    std::size_t afterOneOfEach = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::size_t size = 8 + static_cast<std::size_t>(i % 97) * 8;
        arena->deallocate(arena->allocate(size), size);
        if (i == 96) afterOneOfEach = arena->reservedBytes();
    }
    EXPECT_EQ(arena->reservedBytes(), afterOneOfEach);
    arena->deallocate(b, 40);
}

TEST(NodeArena, EveryParsedNodeHoldsItsArena) {
    Ref<Document> doc = Parser::parse("<p id=a class='x y'>one <b>two</b></p><!-- c --><script>s()</script>");
    NodeArena* arena = doc->arena();
    ASSERT_NE(arena, nullptr);
    EXPECT_EQ(arena->holds(), subtreeSize(*doc));
    // Nodes made outside a parse live on the heap, beside the parsed ones.
    Ref<Element> made = doc->body()->appendElement("i");
    EXPECT_EQ(made->arena(), nullptr);
    EXPECT_EQ(arena->holds(), subtreeSize(*doc) - 1);
}

// The ownership cases: the arena lives as long as any node made in it.
TEST(NodeArena, ANodeOutlivesItsDocumentWithItsSubtree) {
    Ref<Element> p;
    {
        Ref<Document> doc = Parser::parse("<div><p title='t'>kept <b>bold</b> text</p><p>gone</p></div>");
        p = Ref<Element>(doc->select("p").first());
    }
    EXPECT_EQ(p->parent(), nullptr);
    EXPECT_EQ(p->arena()->holds(), subtreeSize(*p));
    EXPECT_EQ(compact(*p), "<p title=\"t\">kept <b>bold</b> text</p>");
    // Still editable: its child list, attributes and texts grow in the arena it came from.
    for (int i = 0; i < 50; ++i)
        p->appendText("x");
    p->attr("data-n", std::string(300, 'n'));
    static_cast<TextNode*>(p->childNode(0))->text(std::string(2000, 'k'));
    EXPECT_EQ(p->childNodeSize(), 53u);
    EXPECT_EQ(p->attr("data-n").size(), 300u);
    EXPECT_EQ(p->text(), std::string(2000, 'k') + "bold text" + std::string(50, 'x'));
}

TEST(NodeArena, NodesMoveBetweenDocumentsAndSurviveTheirFirst) {
    Ref<Document> first = Parser::parse("<ul><li>a</li><li>b</li></ul>");
    Ref<Document> second = Parser::parse("<p>p</p>");
    Ref<Element> list(first->select("ul").first());
    NodeArena* firstArena = first->arena();
    second->body()->appendChild(list);
    EXPECT_EQ(list->ownerDocument(), second.get());
    first = nullptr;
    EXPECT_EQ(list->arena(), firstArena) << "a moved node keeps the arena it was made in";
    EXPECT_EQ(firstArena->holds(), subtreeSize(*list));
    list = nullptr;
    // Growing the moved list's children reallocates in its own arena, under another document.
    Element* ul = second->select("ul").first();
    for (int i = 0; i < 200; ++i)
        ul->appendChild(Parser::parse("<li>n</li>")->select("li").first());
    EXPECT_EQ(ul->childNodeSize(), 202u);
    EXPECT_EQ(second->select("li").size(), 202u);
    EXPECT_TRUE(compact(*second->body()).starts_with("<body><p>p</p><ul><li>a</li><li>b</li><li>n</li>"));
}

TEST(NodeArena, ARemovedSubtreeCanBeAddedAgainHereOrElsewhere) {
    Ref<Document> doc = Parser::parse("<div id=a><span>1</span><span>2</span></div><div id=b></div>");
    Ref<Element> a(doc->getElementById("a"));
    a->remove();
    EXPECT_EQ(doc->select("span").size(), 0u);
    doc->getElementById("b")->appendChild(a);
    EXPECT_EQ(compact(*doc->body()),
              "<body><div id=\"b\"><div id=\"a\"><span>1</span><span>2</span></div></div></body>");
    Ref<Document> other = Parser::parse("");
    other->body()->appendChild(a);
    doc = nullptr;
    EXPECT_EQ(other->select("span").size(), 2u);
    EXPECT_EQ(a->attr("id"), "a");
}

TEST(NodeArena, ALongEditLoopOnOneDocumentStaysBounded) {
    Ref<Document> doc = Parser::parse("<div><p class=c>text</p><p>other</p></div>");
    NodeArena* arena = doc->arena();
    Element* div = doc->select("div").first();
    auto* text = static_cast<TextNode*>(doc->select("p").first()->childNode(0));
    std::size_t afterWarmUp = 0;
    for (int i = 0; i < 20000; ++i) {
        text->text(std::string(1 + static_cast<std::size_t>(i % 600), 'a' + static_cast<char>(i % 26)));
        Ref<Node> moved(div->childNode(0));
        moved->remove();
        div->appendChild(moved);
        div->childNode(0)->attr("class", std::string(static_cast<std::size_t>(i % 40), 'v'));
        if (i == 1000) afterWarmUp = arena->reservedBytes();
    }
    EXPECT_EQ(arena->reservedBytes(), afterWarmUp) << "freed pieces are reused";
    // Replacing content parses fragments in arenas of their own, freed with the nodes they held.
    for (int i = 0; i < 2000; ++i)
        div->html("<b>" + std::to_string(i) + "</b>");
    EXPECT_EQ(arena->reservedBytes(), afterWarmUp);
    NodeArena* fragmentArena = div->childNode(0)->arena();
    ASSERT_NE(fragmentArena, nullptr);
    EXPECT_NE(fragmentArena, arena);
    EXPECT_EQ(fragmentArena->holds(), 2u) << "only the fragment's surviving nodes hold it";
    EXPECT_EQ(compact(*div), "<div><b>1999</b></div>");
}

// The large blocks of a freed tree serve the next one, so that parsing again touches no new
// memory (a fresh mapping would read as zeros, a kept block still holds what the first wrote).
TEST(NodeArena, LargeBlocksOfAFreedArenaServeTheNext) {
#if defined(NOTARA_HTML_ARENA_CHECKED) || !defined(__linux__)
    GTEST_SKIP() << "blocks come from the heap in this build";
#else
    NodeArena::releaseKeptBlocks();
    constexpr int kPieces = 8000; // about 8 MB: a 1 MB block, then blocks of 2 MiB
    {
        Ref<NodeArena> arena = NodeArena::create(1 << 20);
        for (int i = 0; i < kPieces; ++i)
            static_cast<unsigned char*>(arena->allocate(NodeArena::kLargest))[0] = 0x5A;
    }
    int stillWritten = 0;
    {
        Ref<NodeArena> arena = NodeArena::create(1 << 20);
        for (int i = 0; i < kPieces; ++i)
            stillWritten += static_cast<unsigned char*>(arena->allocate(NodeArena::kLargest))[0] == 0x5A;
    }
    EXPECT_GT(stillWritten, kPieces / 2) << "the second tree's pieces lie in the first's blocks";
    NodeArena::releaseKeptBlocks();
#endif
}
