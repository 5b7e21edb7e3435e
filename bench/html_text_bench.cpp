// Text extraction and HTML output over a 10 MB document tree.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/TextNode.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK(BM_ElementText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElementTextRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuterHtml)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
