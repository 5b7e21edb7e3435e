// Parse throughput and peak heap use of the HTML parser, next to gumbo as a peer, on a large
// hand-written page and on a generated 20,000-entry Kindle notebook export (desktop layout).
#include "KindleExportGenerator.h"
#include "html/nodes/Document.h"
#include "html/nodes/NodeArena.h"
#include "html/parser/Parser.h"

#include <benchmark/benchmark.h>

#if NOTARA_HAVE_GUMBO
#include <gumbo.h>
#endif

#include <malloc.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <utility>

// ---- heap accounting ----------------------------------------------------------------------
// The C allocator itself is wrapped (glibc's __libc_* entry points), so that every byte either
// parser takes, through operator new, malloc or realloc, counts toward the peak of live heap
// bytes during one parse. The benchmark is single-threaded.
extern "C" {
void* __libc_malloc(std::size_t) noexcept;
void* __libc_calloc(std::size_t, std::size_t) noexcept;
void* __libc_realloc(void*, std::size_t) noexcept;
void* __libc_memalign(std::size_t, std::size_t) noexcept;
void __libc_free(void*) noexcept;
}

namespace {
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* counted(void* p) noexcept {
    if (p) {
        liveBytes += malloc_usable_size(p);
        if (liveBytes > peakBytes) peakBytes = liveBytes;
    }
    return p;
}
} // namespace

extern "C" {
void* malloc(std::size_t size) noexcept {
    return counted(__libc_malloc(size));
}
void* calloc(std::size_t n, std::size_t size) noexcept {
    return counted(__libc_calloc(n, size));
}
void* realloc(void* p, std::size_t size) noexcept {
    if (p) liveBytes -= malloc_usable_size(p);
    return counted(__libc_realloc(p, size));
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    *out = counted(__libc_memalign(alignment, size));
    return *out ? 0 : 12; // ENOMEM
}
void free(void* p) noexcept {
    if (p) liveBytes -= malloc_usable_size(p);
    __libc_free(p);
}

// Memory mapped directly (the arena maps its large blocks) counts too. The C allocator's own
// mappings do not come through here, so nothing is counted twice.
void* mmap(void* address, std::size_t length, int protection, int flags, int fd, off_t offset) noexcept {
    const long result = syscall(SYS_mmap, address, length, protection, flags, fd, offset);
    if (result < 0 && result > -4096) {
        errno = static_cast<int>(-result);
        return MAP_FAILED;
    }
    if (flags & MAP_ANONYMOUS) {
        liveBytes += length;
        if (liveBytes > peakBytes) peakBytes = liveBytes;
    }
    return reinterpret_cast<void*>(result);
}
int munmap(void* address, std::size_t length) noexcept {
    const long result = syscall(SYS_munmap, address, length);
    if (result != 0) {
        errno = static_cast<int>(-result);
        return -1;
    }
    liveBytes -= length;
    return 0;
}
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

// Each parser has three measured forms over the same input: build and free together (what an
// import pays), build alone (the tree is freed outside the timed section) and free alone (the
// tree is built outside it).
void parseOurs(const std::string& input) {
    html::Ref<html::Document> doc = html::Parser::parse(input);
    benchmark::DoNotOptimize(doc.get());
}

struct Ours {
    using Tree = html::Ref<html::Document>;
    static Tree build(const std::string& input) { return html::Parser::parse(input); }
    static void free(Tree& tree) { tree = nullptr; }
};

#if NOTARA_HAVE_GUMBO
void parseGumbo(const std::string& input) {
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, input.data(), input.size());
    benchmark::DoNotOptimize(output);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

struct Gumbo {
    using Tree = GumboOutput*;
    static Tree build(const std::string& input) {
        return gumbo_parse_with_options(&kGumboDefaultOptions, input.data(), input.size());
    }
    static void free(Tree& tree) {
        gumbo_destroy_output(&kGumboDefaultOptions, tree);
        tree = nullptr;
    }
};
#endif

template <void (*Parse)(const std::string&)> void run(benchmark::State& state, const std::string& input) {
    if (input.empty()) {
        state.SkipWithError("input not found");
        return;
    }
    // One measured parse for the heap peak, from nothing kept by an earlier parse, then the
    // timed loop.
    html::NodeArena::releaseKeptBlocks();
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

template <class Parser> void runBuild(benchmark::State& state, const std::string& input) {
    for (auto _ : state) {
        typename Parser::Tree tree = Parser::build(input);
        benchmark::DoNotOptimize(tree);
        state.PauseTiming();
        Parser::free(tree);
        state.ResumeTiming();
    }
}

template <class Parser> void runFree(benchmark::State& state, const std::string& input) {
    for (auto _ : state) {
        state.PauseTiming();
        typename Parser::Tree tree = Parser::build(input);
        benchmark::DoNotOptimize(tree);
        state.ResumeTiming();
        Parser::free(tree);
    }
}

// For each input, side by side: build, free, and both together (with the heap peak), ours then
// gumbo's: BM_NotaraBuild_WhatwgSource, BM_NotaraFree_WhatwgSource, BM_Notara_WhatwgSource, ...
template <class Parser, void (*Parse)(const std::string&)>
void registerParser(const std::string& name, const std::string& inputName, const std::string& (*input)()) {
    benchmark::RegisterBenchmark(("BM_" + name + "Build_" + inputName).c_str(), [input](benchmark::State& s) {
        runBuild<Parser>(s, input());
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_" + name + "Free_" + inputName).c_str(), [input](benchmark::State& s) {
        runFree<Parser>(s, input());
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_" + name + "_" + inputName).c_str(), [input](benchmark::State& s) {
        run<Parse>(s, input());
    })->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    const std::pair<const char*, const std::string& (*)()> inputs[] = {{"WhatwgSource", &whatwgSource},
                                                                       {"KindleExport", &kindleExport}};
    for (const auto& [inputName, input] : inputs) {
        registerParser<Ours, parseOurs>("Notara", inputName, input);
#if NOTARA_HAVE_GUMBO
        registerParser<Gumbo, parseGumbo>("Gumbo", inputName, input);
#endif
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
