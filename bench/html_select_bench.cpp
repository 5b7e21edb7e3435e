// Selector queries on a 20,000-entry Kindle notebook export, next to bare walks of the same tree
// that only count its elements (the floor for any query that visits every element).
#include <benchmark/benchmark.h>

#include "KindleExportGenerator.h"

#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/NodeVisitor.h"
#include "html/parser/Parser.h"

namespace {

html::Document& notebook() {
    static const html::Ref<html::Document> doc = [] {
        notara::KindleExportGenerator generator(20000);
        return html::Parser::parse(generator.generate());
    }();
    return *doc;
}

class ElementCounter final : public html::NodeVisitor {
public:
    void enter(html::Node& node, int) override { count += node.isElement(); }
    void leave(html::Node&, int) override {}
    std::size_t count = 0;
};

void BM_walkCountingElements(benchmark::State& state) {
    html::Document& doc = notebook();
    for (auto _ : state) {
        ElementCounter counter;
        html::NodeTraversor(counter).traverse(&doc);
        benchmark::DoNotOptimize(counter.count);
        state.counters["elements"] = static_cast<double>(counter.count);
    }
}
BENCHMARK(BM_walkCountingElements)->Unit(benchmark::kMillisecond);

void BM_inlineWalkCountingElements(benchmark::State& state) {
    html::Document& doc = notebook();
    for (auto _ : state) {
        std::size_t count = 0;
        html::NodeTraversor::forEach(
            doc, [&count](html::Node& node, int) { count += node.isElement(); }, [](html::Node&, int) {});
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_inlineWalkCountingElements)->Unit(benchmark::kMillisecond);

void BM_select(benchmark::State& state, const char* query) {
    html::Document& doc = notebook();
    for (auto _ : state) {
        html::Elements found = doc.select(query);
        benchmark::DoNotOptimize(found.size());
        state.counters["matches"] = static_cast<double>(found.size());
    }
}
BENCHMARK_CAPTURE(BM_select, divNoteText, "div.noteText")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_select, noteHeading, ".noteHeading")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_select, divHasHighlightSpan, "div:has(span[class^=highlight_])")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_select, bodyOddDivs, "body > div:nth-child(2n+1)")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
