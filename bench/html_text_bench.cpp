// Text extraction and HTML output over a 10 MB document tree.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/TextNode.h"

#include "html/nodes/NodeTraversor.h"
#include "html/parser/Parser.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace html;

namespace {

// A page shaped like a long notebook export: sections of paragraphs with inline markup and the
// usual indentation whitespace between tags, about 10 MB of text in all.
Ref<Document> bigDocument(std::size_t& textBytes) {
    Ref<Document> doc = Document::createShell("");
    Element* body = doc->body();
    textBytes = 0;
    const std::string_view words[] = {
        "The reader highlighted this passage because it   matters; ",
        "\n      a second line of the note follows, with \"quotes\" & ampersands, ",
        "caf\xC3\xA9 na\xC3\xAFve \xE2\x80\x94 some UTF-8 text too.  ",
    };
    while (textBytes < 10'000'000) {
        Ref<Element> section = body->appendElement("div");
        section->attr("class", "noteText");
        for (int p = 0; p < 8; ++p) {
            section->appendText("\n    ");
            Ref<Element> para = section->appendElement("p");
            for (std::string_view w : words) {
                para->appendText(w);
                textBytes += w.size();
            }
            para->appendElement("b")->appendText("bold words");
            para->appendElement("br");
            textBytes += 15; // the indentation before the paragraph and the bold words
        }
        section->appendText("\n");
    }
    return doc;
}

void BM_ElementText(benchmark::State& state) {
    std::size_t bytes = 0;
    Ref<Document> doc = bigDocument(bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->body()->text());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ElementTextRaw(benchmark::State& state) {
    std::size_t bytes = 0;
    Ref<Document> doc = bigDocument(bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->body()->text(false));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_OuterHtml(benchmark::State& state) {
    std::size_t bytes = 0;
    Ref<Document> doc = bigDocument(bytes);
    std::size_t outBytes = 0;
    for (auto _ : state) {
        std::string html = doc->outerHtml();
        outBytes = html.size();
        benchmark::DoNotOptimize(html);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * outBytes));
}

// A real page, when NOTARA_HTML_CORPUS names one: text and output over the parsed tree, and the
// tree's memory per node (allocator included).
std::string corpus() {
    const char* path = std::getenv("NOTARA_HTML_CORPUS");
    if (!path) return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void BM_CorpusText(benchmark::State& state) {
    const std::string html = corpus();
    if (html.empty()) {
        state.SkipWithError("set NOTARA_HTML_CORPUS to an HTML file");
        return;
    }
    const struct mallinfo2 before = mallinfo2();
    Ref<Document> doc = Parser::parse(html);
    const struct mallinfo2 after = mallinfo2();
    long nodes = 0;
    NodeTraversor::forEach(
        *doc, [&](Node&, int) { ++nodes; }, [](Node&, int) {});
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->text());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["tree_bytes_per_node"] =
        static_cast<double>((after.uordblks + after.hblkhd) - (before.uordblks + before.hblkhd)) / nodes;
}

void BM_CorpusOuterHtml(benchmark::State& state) {
    const std::string html = corpus();
    if (html.empty()) {
        state.SkipWithError("set NOTARA_HTML_CORPUS to an HTML file");
        return;
    }
    Ref<Document> doc = Parser::parse(html);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->outerHtml());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}

} // namespace

BENCHMARK(BM_CorpusText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusOuterHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElementText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElementTextRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuterHtml)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
