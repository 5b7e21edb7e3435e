// Throughput of the character reader's bulk scan and of the tokeniser on its own.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "html/parser/CharacterReader.h"
#include "html/parser/Entities.h"
#include "html/parser/Tokeniser.h"

namespace {

// 10 MB of ASCII prose with an occasional reference, as page text looks.
const std::string& tenMegabytesOfText() {
    static const std::string text = [] {
        const std::string sentence = "The quick brown fox jumps over the lazy dog, and then rests a while. ";
        std::string s;
        s.reserve(10 * 1024 * 1024 + sentence.size());
        while (s.size() < 10 * 1024 * 1024) {
            s += sentence;
            if (s.size() % 4096 < sentence.size()) s += "&amp;";
        }
        return s;
    }();
    return text;
}

const std::string& corpus() {
    static const std::string page = [] {
        std::ifstream in(NOTARA_SOURCE_DIR "/../shared/corpus/whatwg-source.html", std::ios::binary);
        if (!in) in.open("/work/shared/corpus/whatwg-source.html", std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }();
    return page;
}

void BM_consumeData(benchmark::State& state) {
    const std::string& text = tenMegabytesOfText();
    for (auto _ : state) {
        html::CharacterReader reader{std::string_view(text)};
        std::size_t total = 0;
        while (!reader.isEmpty()) {
            total += reader.consumeData().size();
            if (!reader.isEmpty()) reader.advance();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_consumeData)->Unit(benchmark::kMillisecond);

void BM_tokeniseText(benchmark::State& state) {
    const std::string& text = tenMegabytesOfText();
    for (auto _ : state) {
        html::CharacterReader reader{std::string_view(text)};
        html::Tokeniser t(reader, nullptr);
        std::size_t n = 0;
        while (!t.read().isEOF())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_tokeniseText)->Unit(benchmark::kMillisecond);

// The tokeniser alone over a large hand-written page (no tree is built; raw-text elements
// are tokenised as markup, which is close enough for a throughput figure).
void BM_tokeniseCorpus(benchmark::State& state) {
    const std::string& page = corpus();
    if (page.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    for (auto _ : state) {
        html::CharacterReader reader{std::string_view(page)};
        html::Tokeniser t(reader, nullptr);
        std::size_t n = 0;
        for (;;) {
            html::Token& tok = t.read();
            if (tok.isEOF()) break;
            if (tok.isStartTag()) t.acknowledgeSelfClosingFlag();
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_tokeniseCorpus)->Unit(benchmark::kMillisecond);

void BM_escapeText(benchmark::State& state) {
    const std::string& text = tenMegabytesOfText();
    std::string out;
    for (auto _ : state) {
        out.clear();
        html::Entities::escape(out, text, html::Entities::EscapeMode::base(), "UTF-8", false, true, false);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_escapeText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
