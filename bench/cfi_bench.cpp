// EPUB CFI parsing and book-order keys: CFIs per second for the shapes real Books rows hold.

#include "notara/core/sources/books/EpubCfi.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> realShapedCfis(size_t count) {
    std::mt19937 random(2021);
    std::vector<std::string> cfis;
    for (size_t i = 0; i < count; ++i) {
        const std::string spine = std::to_string(2 + 2 * (random() % 60));
        switch (i % 3) {
        case 0:
            cfis.push_back("epubcfi(/6/" + spine + "[c_9780465008575_ps_Part09_Split3]!/4/2/" +
                           std::to_string(random() % 500) + "/2,/1:0,/7:" + std::to_string(random() % 900) +
                           ")");
            break;
        case 1:
            cfis.push_back("epubcfi(/6/" + spine + "[ch36]!/4[text]/2[ch36]/4,/124/1:" +
                           std::to_string(random() % 90) + ",/134/5:41)");
            break;
        default:
            cfis.push_back("epubcfi(/6/" + spine + "!/4/2/446/2/1,:0,:" + std::to_string(random() % 700) +
                           ")");
        }
    }
    return cfis;
}

void BM_ParseCfi(benchmark::State& state) {
    const auto cfis = realShapedCfis(10000);
    for (auto _ : state) {
        for (const std::string& text : cfis)
            benchmark::DoNotOptimize(notara::EpubCfi::parse(text));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * cfis.size()));
}

void BM_ParseCfiAndKey(benchmark::State& state) {
    const auto cfis = realShapedCfis(10000);
    for (auto _ : state) {
        for (const std::string& text : cfis)
            benchmark::DoNotOptimize(notara::EpubCfi::parse(text)->sortKey());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * cfis.size()));
}

BENCHMARK(BM_ParseCfi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCfiAndKey)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
