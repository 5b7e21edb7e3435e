// Imports a generated 20,000-entry desktop Notebook export (about 8 MB) end to end: reading the
// file, checking it is UTF-8, parsing, finding the entries and building the Work. Reports the time
// per import and the peak heap an import needs, in bytes and as a multiple of the file size.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "bench/KindleExportGenerator.h"
#include "html/parser/Parser.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"

// Heap accounting: every C++ allocation of the process goes through these, so the peak of live
// bytes during one import is measured exactly, not guessed from the resident set.
namespace {
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    std::size_t now =
        liveBytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
    std::size_t peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {}
    return p;
}

void release(void* p) noexcept {
    if (!p) return;
    liveBytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}
} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}

namespace {

struct Export {
    std::filesystem::path path;
    std::string bytes;
    notara::KindleExportGenerator::Counts counts;
};

bool exportWritten = false;

const Export& theExport() {
    static const Export e = [] {
        notara::KindleExportGenerator generator(20000);
        Export out;
        out.bytes = generator.generate();
        out.counts = generator.counts();
        out.path = std::filesystem::temp_directory_path() /
                   ("notara-kindle-bench-" + std::to_string(::getpid()) + ".html");
        std::ofstream(out.path, std::ios::binary) << out.bytes;
        exportWritten = true;
        return out;
    }();
    return e;
}

void BM_KindleImport(benchmark::State& state) {
    const Export& e = theExport();
    notara::KindleNotesParser parser;
    parser.fileURL = e.path;

    // One import outside the timed loop measures the peak heap above what was live before it.
    std::size_t before = liveBytes.load();
    peakBytes.store(before);
    std::size_t annotations = 0;
    {
        auto works = parser.parseWorks();
        if (works.size() != 1) {
            state.SkipWithError("the generated export did not import");
            return;
        }
        annotations = works[0]->annotations.size();
    }
    std::size_t peak = peakBytes.load() - before;
    if (annotations != e.counts.annotations()) {
        state.SkipWithError("the import found a different number of annotations than the generator wrote");
        return;
    }

    for (auto _ : state) {
        auto works = parser.parseWorks();
        benchmark::DoNotOptimize(works.data());
    }

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * e.bytes.size()));
    state.counters["file_MB"] = static_cast<double>(e.bytes.size()) / 1e6;
    state.counters["annotations"] = static_cast<double>(annotations);
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["peak_x_file"] = static_cast<double>(peak) / static_cast<double>(e.bytes.size());
    state.counters["maxrss_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}
BENCHMARK(BM_KindleImport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The HTML parse of the same bytes alone, to show how much of an import is parsing.
void BM_KindleExportParseOnly(benchmark::State& state) {
    const Export& e = theExport();
    for (auto _ : state) {
        auto document = html::parse(e.bytes);
        benchmark::DoNotOptimize(&document);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * e.bytes.size()));
}
BENCHMARK(BM_KindleExportParseOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (exportWritten) {
        std::error_code ec;
        std::filesystem::remove(theExport().path, ec);
    }
    return 0;
}
