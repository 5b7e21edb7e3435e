// Parse throughput and peak heap use of the HTML parser, next to gumbo as a peer, on a large
// hand-written page and on a generated 20,000-entry Kindle notebook export (desktop layout).
#include "KindleExportGenerator.h"
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
    static const std::string data = readFile(std::string(NOTARA_SHARED_DIR) + "/corpus/whatwg-source.html");
    return data;
}

// The 20,000-entry desktop-layout notebook export the importer benchmark also parses.
const std::string& kindleExport() {
    static const std::string data = notara::KindleExportGenerator(20000).generate();
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
