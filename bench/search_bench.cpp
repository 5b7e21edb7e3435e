// Searching a large library: 20,000 books and 200,000 annotations, as in the load benchmark.
// Building the index (time and memory against the library's text) and queries of one, three
// and eight letters and of two words.

#include "notara/core/search/SearchIndex.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>

using namespace notara;

namespace {

constexpr int bookCount = 20000;
constexpr int annotationCount = 200000;

std::string sentence(std::mt19937_64& random, size_t targetBytes) {
    static const char* words[] = {"the",     "reader",      "marked", "a",        "passage",   "about",
                                  "memory",  "and",         "time",   "which",    "seemed",    "worth",
                                  "keeping", "for",         "later",  "because",  "education", "is",
                                  "not",     "preparation", "of",     "life",     "itself",    "—",
                                  "naïve",   "café",        "über",   "histoire", "東京",      "夜"};
    std::string text;
    while (text.size() < targetBytes) {
        if (!text.empty()) text += ' ';
        text += words[random() % std::size(words)];
    }
    return text + '.';
}

const std::vector<WorkPtr>& library() {
    static const std::vector<WorkPtr> works = [] {
        std::mt19937_64 random(20241231);
        std::vector<WorkPtr> result;
        for (int i = 0; i < bookCount; ++i)
            result.push_back(std::make_shared<Work>(sentence(random, 10 + random() % 40),
                                                    sentence(random, 8 + random() % 16)));
        for (int i = 0; i < annotationCount; ++i) {
            auto annotation =
                std::make_shared<Annotation>("id", sentence(random, 120 + random() % 160),
                                             random() % 5 == 0 ? sentence(random, 20 + random() % 60) : "");
            annotation->annotationChapter = "Chapter " + std::to_string(random() % 40);
            result[random() % (bookCount * 9 / 10)]->annotations.push_back(std::move(annotation));
        }
        return result;
    }();
    return works;
}

const SearchIndex& index() {
    static const SearchIndex built = [] {
        SearchIndex index;
        index.build(library());
        return index;
    }();
    return built;
}

void BM_BuildIndex(benchmark::State& state) {
    for (auto _ : state) {
        SearchIndex index;
        index.build(library());
        benchmark::DoNotOptimize(index.memoryBytes());
    }
}

void query(benchmark::State& state, const char* text) {
    size_t matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const auto& result : index().search(text))
            matches += result.annotations.size();
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
}

BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, one_letter, "q")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, one_common_letter, "e")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, three_letters, "cat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, three_common_letters, "the")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, eight_letters, "preparat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, two_words, "memory CAFE")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(query, phrase, "\"time which\"")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    size_t textBytes = 0;
    for (const auto& work : library()) {
        textBytes += work->workTitle.size() + work->workAuthor.size();
        for (const auto& a : work->annotations)
            textBytes += a->annotationSelectedText.size() + a->annotationUserNotes.size() +
                         a->annotationChapter.size();
    }
    std::printf("library: %d books, %d annotations, %.1f MB of text; index %.1f MB (%.2f x the text)\n",
                bookCount, annotationCount, textBytes / 1048576.0, index().memoryBytes() / 1048576.0,
                double(index().memoryBytes()) / double(textBytes));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
