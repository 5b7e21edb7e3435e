// Parse throughput and peak heap use of the HTML parser, next to gumbo as a peer, on a large
// hand-written page and on a generated 20,000-entry Kindle notebook export (desktop layout).
#include "html/nodes/Document.h"
#include "html/parser/Parser.h"

#include <benchmark/benchmark.h>

#if NOTARA_HAVE_GUMBO
#include <gumbo.h>
#endif

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

// ---- heap accounting ----------------------------------------------------------------------
// Every allocation of the process goes through these counters (single-threaded benchmark), so
// the peak of live heap bytes during one parse can be read for either parser.
namespace {
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* countedAlloc(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return p;
}

void countedFree(void* p) noexcept {
    if (!p) return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}
} // namespace

void* operator new(std::size_t size) {
    return countedAlloc(size);
}
void* operator new[](std::size_t size) {
    return countedAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return countedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return countedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete[](void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    countedFree(p);
}

namespace {

// ---- inputs -------------------------------------------------------------------------------

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string& whatwgSource() {
    static const std::string data =
        readFile(std::string(NOTARA_SOURCE_DIR) + "/../shared/corpus/whatwg-source.html");
    return data;
}

// A desktop-app notebook export: single-quoted classes, entities, and the crossed end tags
// (</div> closing an h3, </h3> closing a div) that real exports carry.
const std::string& kindleExport() {
    static const std::string data = [] {
        static const char* const words[] = {
            "the",   "reader", "marked", "passage", "river",  "light",  "of",     "memory", "and",
            "quiet", "house",  "winter", "letters", "across", "a",      "garden", "where",  "nobody",
            "had",   "walked", "since",  "their",   "long",   "return", "évité",  "naïve",  "–"};
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7fff;
        };
        std::string out;
        out.reserve(9 << 20);
        out +=
            "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 "
            "Strict//EN\" "
            "\"XHTML1-s.dtd\" >\n<html xmlns=\"http://www.w3.org/TR/1999/REC-html-in-xml\" xml:lang=\"en\" "
            "lang=\"en\">\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" "
            "/>\n"
            "<style>\n.bodyContainer { font-family: Arial, Helvetica, sans-serif; }\n.noteText { font-size: "
            "12pt; "
            "}\n</style>\n<title>Notebook</title>\n</head>\n<body>\n<div class='bodyContainer'>\n"
            "<div class='notebookFor'>\nNotes and highlights for\n</div>\n<div class='bookTitle'>\nA Garden "
            "of "
            "Letters\n</div>\n<div class='authors'>\nInvented, Author\n</div>\n<div class='citation'>\n"
            "Invented, Author. A Garden of Letters. Nowhere Press. Kindle Edition. \n</div>\n<hr />\n";
        static const char* const colours[] = {"yellow", "blue", "pink", "orange"};
        for (int i = 0; i < 20000; ++i) {
            if (i % 40 == 0)
                out += "<h2 class='sectionHeading'>Chapter " + std::to_string(i / 40 + 1) + "</h2>\n";
            const bool note = next() % 5 == 0;
            const int page = 1 + i / 7;
            if (note) {
                out += "<h3 class='noteHeading'>Note - Page " + std::to_string(page) + " &middot; Location " +
                       std::to_string(60 + i * 9) + "</div><div class='noteText'>";
            } else {
                out += "<h3 class='noteHeading'>Highlight (<span class='highlight_";
                out += colours[next() % 4];
                out += "'>";
                out += colours[next() % 4];
                out += "</span>) - Page " + std::to_string(page) + " &middot; Location " +
                       std::to_string(60 + i * 9) + "</div><div class='noteText'>";
            }
            const int n = 40 + static_cast<int>(next() % 40);
            for (int w = 0; w < n; ++w) {
                if (w) out += ' ';
                out += words[next() % std::size(words)];
            }
            out += ".</h3>\n";
        }
        out += "</div>\n</body>\n</html>\n";
        return out;
    }();
    return data;
}

// ---- the two parsers ----------------------------------------------------------------------

void parseOurs(const std::string& input) {
    html::Ref<html::Document> doc = html::Parser::parse(input);
    benchmark::DoNotOptimize(doc.get());
}

#if NOTARA_HAVE_GUMBO
void* gumboAlloc(void*, std::size_t size) {
    return countedAlloc(size);
}
void gumboFree(void*, void* p) {
    countedFree(p);
}

void parseGumbo(const std::string& input) {
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = gumboAlloc;
    options.deallocator = gumboFree;
    GumboOutput* output = gumbo_parse_with_options(&options, input.data(), input.size());
    benchmark::DoNotOptimize(output);
    gumbo_destroy_output(&options, output);
}
#endif

template <void (*Parse)(const std::string&)> void run(benchmark::State& state, const std::string& input) {
    if (input.empty()) {
        state.SkipWithError("input not found");
        return;
    }
    // One measured parse for the heap peak, then the timed loop.
    const std::size_t base = liveBytes;
    peakBytes = liveBytes;
    Parse(input);
    const double peak = static_cast<double>(peakBytes - base);
    for (auto _ : state)
        Parse(input);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.size()));
    state.counters["peak_heap_per_input_MB"] = peak / static_cast<double>(input.size());
    state.counters["input_MB"] = static_cast<double>(input.size()) / 1e6;
}

void BM_Notara_WhatwgSource(benchmark::State& s) {
    run<parseOurs>(s, whatwgSource());
}
void BM_Notara_KindleExport(benchmark::State& s) {
    run<parseOurs>(s, kindleExport());
}
BENCHMARK(BM_Notara_WhatwgSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notara_KindleExport)->Unit(benchmark::kMillisecond);

#if NOTARA_HAVE_GUMBO
void BM_Gumbo_WhatwgSource(benchmark::State& s) {
    run<parseGumbo>(s, whatwgSource());
}
void BM_Gumbo_KindleExport(benchmark::State& s) {
    run<parseGumbo>(s, kindleExport());
}
BENCHMARK(BM_Gumbo_WhatwgSource)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gumbo_KindleExport)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
