// The notes-folder sync on a large library: 20,000 works with 200,000 highlights synced into an
// empty folder, then a re-sync after 100 new highlights in 10 works (only those files rewritten).

#include "notara/core/export/NotesSync.h"
#include "notara/core/library/Library.h"
#include "notara/core/model/SortKey.h"
#include "notara/core/sources/SourceKeys.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace fs = std::filesystem;
using namespace notara;

namespace {

constexpr int workCount = 20000;
constexpr int perWork = 10;

fs::path benchHome;

std::string sentence(std::mt19937_64& random, std::size_t bytes) {
    static const char* words[] = {"the",  "reader", "marked", "a",     "passage", "about", "memory", "and",
                                  "time", "which",  "seemed", "worth", "keeping", "café",  "über"};
    std::string text;
    while (text.size() < bytes)
        text += std::string(text.empty() ? "" : " ") + words[random() % std::size(words)];
    return text + '.';
}

// A source of `workCount` works; `extra` more highlights in each of the first `extraWorks` works.
SourceRead source(int extra = 0, int extraWorks = 0) {
    std::mt19937_64 random(7);
    SourceRead read;
    read.kind = SourceKind::Kobo;
    read.key = "kobo:bench";
    read.name = "Kobo";
    for (int w = 0; w < workCount; ++w) {
        auto work = std::make_shared<Work>("Book " + std::to_string(w) + " " + sentence(random, 20),
                                           sentence(random, 12));
        work->workKey = "volume-" + std::to_string(w);
        for (int a = 0; a < perWork; ++a) {
            auto annotation =
                std::make_shared<Annotation>("id-" + std::to_string(w) + "-" + std::to_string(a),
                                             sentence(random, 200), a % 5 == 0 ? sentence(random, 40) : "");
            annotation->annotationKeyForm = Annotation::KeyForm::Kobo;
            SortKey::appendNumber(annotation->annotationPosition.key,
                                  static_cast<std::uint64_t>(a * 7 % 101));
            work->annotations.push_back(std::move(annotation));
        }
        read.works.push_back(std::move(work));
    }
    // From a generator of their own, so that the other works stay exactly as they were.
    std::mt19937_64 more(11);
    for (int w = 0; w < extraWorks; ++w) {
        for (int a = 0; a < extra; ++a) {
            auto annotation = std::make_shared<Annotation>(
                "new-" + std::to_string(w) + "-" + std::to_string(a), sentence(more, 200), "");
            annotation->annotationKeyForm = Annotation::KeyForm::Kobo;
            SortKey::appendNumber(annotation->annotationPosition.key,
                                  static_cast<std::uint64_t>(a * 13 % 101));
            read.works[static_cast<std::size_t>(w)]->annotations.push_back(std::move(annotation));
        }
    }
    SourceKeys::fingerprint(read);
    return read;
}

// A new library holding the generated source, and no notes folder yet.
void freshStart() {
    fs::remove_all(benchHome / "notes");
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(benchHome.string() + "/library.sqlite" + suffix);
    Library::Counts counts;
    std::string problem;
    Library::open(benchHome / "library.sqlite", problem)->add(source(), counts, problem);
}

std::unique_ptr<Library> library() {
    std::string problem;
    return Library::open(benchHome / "library.sqlite", problem);
}

NotesSync::Report sync(const fs::path& folder) {
    std::string problem;
    NotesSync::Report report;
    auto templates = NoteTemplates::load("obsidian", problem);
    auto lib = library();
    NotesSync::run(*lib, lib->works(), {folder, *templates, false, false, {}}, report, problem);
    return report;
}

void BM_SyncToEmptyFolder(benchmark::State& state) {
    NotesSync::Report report;
    for (auto _ : state) {
        state.PauseTiming();
        freshStart(); // a fresh library each time, so that the folder is new to it too
        state.ResumeTiming();
        report = sync(benchHome / "notes");
    }
    state.counters["files"] = static_cast<double>(report.filesWritten);
}

void BM_ResyncAfter100New(benchmark::State& state) {
    NotesSync::Report report;
    for (auto _ : state) {
        state.PauseTiming();
        freshStart();
        sync(benchHome / "notes");
        Library::Counts counts;
        std::string problem;
        library()->add(source(10, 10), counts, problem); // 100 new highlights in 10 works
        state.ResumeTiming();
        report = sync(benchHome / "notes");
    }
    state.counters["files"] = static_cast<double>(report.filesWritten);
    state.counters["added"] = static_cast<double>(report.added);
}

BENCHMARK(BM_SyncToEmptyFolder)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ResyncAfter100New)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    std::string pattern = (fs::temp_directory_path() / "notara-sync-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    benchHome = pattern;
    ::setenv("HOME", benchHome.c_str(), 1);
    QCoreApplication::setOrganizationName("Notara Bench");
    QCoreApplication::setApplicationName("library_sync_bench");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(benchHome);
    return 0;
}
