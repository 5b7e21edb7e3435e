// Building, walking, copying and freeing large trees: time and memory per node.
#include "html/nodes/Element.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/TextNode.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace html;

namespace {

constexpr int kNodes = 1'000'000;

std::size_t heapInUse() {
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

Ref<Element> flatTree(int count, bool withText) {
    Ref<Element> root = make<Element>(Tag::valueOf("div"));
    TagRef span = Tag::valueOf("span");
    for (int i = 0; i < count; ++i) {
        if (withText)
            root->appendChild(make<TextNode>("some text!", root->baseUriRef()));
        else
            root->appendChild(make<Element>(span, root->baseUriRef()));
    }
    return root;
}

Ref<Element> deepTree(int count) {
    Ref<Element> root = make<Element>(Tag::valueOf("div"));
    TagRef div = Tag::valueOf("div");
    Element* last = root.get();
    for (int i = 0; i < count; ++i) {
        Ref<Element> child = make<Element>(div, root->baseUriRef());
        last->appendChild(child);
        last = child.get();
    }
    return root;
}

template <class Build> void measureBuild(benchmark::State& state, Build build) {
    double bytes = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        Ref<Node> tree = build();
        bytes = static_cast<double>(heapInUse() - before);
        state.PauseTiming();
        tree = nullptr; // freeing is measured separately
        state.ResumeTiming();
    }
    state.counters["bytes_per_node"] = bytes / kNodes;
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(kNodes),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_BuildFlatElements(benchmark::State& state) {
    measureBuild(state, [] { return flatTree(kNodes, false); });
}

void BM_BuildDeepElements(benchmark::State& state) {
    measureBuild(state, [] { return deepTree(kNodes); });
}

void BM_BuildFlatTextNodes(benchmark::State& state) {
    // Each text is 10 bytes; its own allocation is part of the figure.
    measureBuild(state, [] { return flatTree(kNodes, true); });
}

struct Counter : NodeVisitor {
    long count = 0;
    void enter(Node&, int) override { ++count; }
    void leave(Node&, int) override {}
};

template <class Make> void BM_Traverse(benchmark::State& state, Make makeTree) {
    Ref<Element> tree = makeTree();
    for (auto _ : state) {
        Counter c;
        NodeTraversor(c).traverse(tree);
        benchmark::DoNotOptimize(c.count);
    }
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(kNodes),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class Make> void BM_CopyAndFree(benchmark::State& state, Make makeTree) {
    Ref<Element> tree = makeTree();
    for (auto _ : state) {
        Ref<Node> copy = tree->copy();
        copy = nullptr;
    }
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(kNodes),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class Make> void BM_Free(benchmark::State& state, Make makeTree) {
    for (auto _ : state) {
        state.PauseTiming();
        Ref<Element> tree = makeTree();
        state.ResumeTiming();
        tree = nullptr;
    }
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(kNodes),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

auto flat = [] { return flatTree(kNodes, false); };
auto deep = [] { return deepTree(kNodes); };

} // namespace

BENCHMARK(BM_BuildFlatElements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildDeepElements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildFlatTextNodes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Traverse, flat, flat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Traverse, deep, deep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CopyAndFree, flat, flat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CopyAndFree, deep, deep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Free, flat, flat)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Free, deep, deep)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
