// Loading a large Apple Books library: DataManager::loadDatabases as a whole (copy,
// check, works, annotations) against the floor of one plain pass of the SQLite C API over
// both tables reading the same columns into std::string. Also measures the peak memory
// of one load against the text it loads.

#include "notara/core/library/Library.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/search/SearchIndex.h"
#include "notara/core/sources/Sources.h"
#include "notara/core/sources/books/BooksSource.h"
#include "notara/tests/BooksStore.h"

#include "corvane/Corvane.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>

namespace fs = std::filesystem;
using namespace notara;

namespace {

constexpr int bookCount = 20000;
constexpr int annotationCount = 200000;
constexpr int annotationsOnlyInLog = 1000;

fs::path benchHome;
SQLFilePairing pairing;

std::string hexID(std::mt19937_64& random, size_t digits) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string id;
    for (size_t i = 0; i < digits; ++i)
        id += hex[random() % 16];
    return id;
}

std::string uuid(std::mt19937_64& random) {
    std::string id = hexID(random, 32);
    for (size_t at : {8, 13, 18, 23})
        id.insert(at, 1, '-');
    return id;
}

std::string sentence(std::mt19937_64& random, size_t targetBytes) {
    static const char* words[] = {"the",     "reader",      "marked", "a",       "passage",   "about",
                                  "memory",  "and",         "time",   "which",   "seemed",    "worth",
                                  "keeping", "for",         "later",  "because", "education", "is",
                                  "not",     "preparation", "of",     "life",    "itself",    "—",
                                  "naïve",   "café",        "über",   "histoire"};
    std::string text;
    while (text.size() < targetBytes) {
        if (!text.empty()) text += ' ';
        text += words[random() % std::size(words)];
    }
    text += '.';
    return text;
}

// A library like a heavy reader's: one row per book (10% without highlights), ten
// highlights per book on average, a fifth with notes, the newest only in the -wal files.
void generateLibrary(const test::BooksDataFolder& folder) {
    std::mt19937_64 random(20241231);
    test::BooksStore library(folder.libraryFile, test::BooksStore::Kind::Library);
    test::BooksStore annotations(folder.annotationFile, test::BooksStore::Kind::Annotations);
    std::vector<std::string> assetIDs;
    library.exec("BEGIN");
    for (int i = 0; i < bookCount; ++i) {
        const bool store = i % 3 == 0;
        assetIDs.push_back(store ? std::to_string(1000000000 + random() % 900000000) : hexID(random, 32));
        library.addBook({assetIDs.back(), sentence(random, 10 + random() % 40),
                         sentence(random, 8 + random() % 16),
                         store ? std::optional<std::string>("12345678") : std::nullopt});
    }
    library.exec("COMMIT");
    annotations.exec("BEGIN");
    for (int i = 0; i < annotationCount; ++i) {
        if (i == annotationCount - annotationsOnlyInLog) {
            annotations.exec("COMMIT");
            annotations.checkpoint();
            annotations.exec("BEGIN");
        }
        test::AnnotationRow row;
        row.assetID = assetIDs[(random() % (bookCount * 9 / 10))];
        row.selectedText = sentence(random, 120 + random() % 160);
        if (random() % 5 == 0) row.note = sentence(random, 20 + random() % 60);
        if (random() % 10 == 0) row.selectedText = std::nullopt, row.type = 3;
        if (random() % 50 == 0) row.deleted = 1;
        row.location = "epubcfi(/6/" + std::to_string(2 + 2 * (random() % 60)) + "[c_9780465008575_ps_Part0" +
                       std::to_string(random() % 10) + "]!/4/2/" + std::to_string(random() % 500) +
                       "/2,/1:0,/7:" + std::to_string(random() % 900) + ")";
        row.uuid = uuid(random);
        annotations.addAnnotation(row);
    }
    annotations.exec("COMMIT");
    library.checkpoint();
    library.close();
    annotations.closeKeepingLog();
}

struct FloorBook {
    std::string assetID, title, author, downloaded;
};
struct FloorAnnotation {
    std::string assetID, uuid, note, representative, selected, location, chapter;
    long long style, underline, spine;
    double created, modified;
};

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

// The least any loader must do: one pass over both tables, the same columns (the texts and the
// context: colour, chapter, dates, spine index), texts into strings and numbers as numbers.
size_t readFloor(const fs::path& libraryFile, const fs::path& annotationFile) {
    std::vector<FloorBook> books;
    std::vector<FloorAnnotation> rows;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    sqlite3_open_v2(libraryFile.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_prepare_v2(db, "SELECT ZASSETID, ZSORTTITLE, ZSORTAUTHOR, ZDOWNLOADEDDSID FROM ZBKLIBRARYASSET",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        books.push_back({columnText(statement, 0), columnText(statement, 1), columnText(statement, 2),
                         columnText(statement, 3)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    sqlite3_open_v2(annotationFile.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_prepare_v2(
        db,
        "SELECT ZANNOTATIONASSETID, ZANNOTATIONUUID, ZANNOTATIONNOTE, ZANNOTATIONREPRESENTATIVETEXT, "
        "ZANNOTATIONSELECTEDTEXT, ZANNOTATIONLOCATION, ZANNOTATIONSTYLE, ZANNOTATIONISUNDERLINE, "
        "ZFUTUREPROOFING5, "
        "ZANNOTATIONCREATIONDATE, ZANNOTATIONMODIFICATIONDATE, ZPLLOCATIONRANGESTART FROM ZAEANNOTATION",
        -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        rows.push_back({columnText(statement, 0), columnText(statement, 1), columnText(statement, 2),
                        columnText(statement, 3), columnText(statement, 4), columnText(statement, 5),
                        columnText(statement, 8), sqlite3_column_int64(statement, 6),
                        sqlite3_column_int64(statement, 7), sqlite3_column_int64(statement, 11),
                        sqlite3_column_double(statement, 9), sqlite3_column_double(statement, 10)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return books.size() + rows.size();
}

void BM_Floor(benchmark::State& state) {
    // The working copies hold everything (the log was folded in when the loader closed them).
    DataManager model;
    model.loadDatabases(pairing);
    const fs::path library = *model.librarySQLFile();
    const fs::path annotations = *model.annotationSQLFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(readFloor(library, annotations));
}

void BM_LoadDatabases(benchmark::State& state) {
    size_t loaded = 0;
    for (auto _ : state) {
        DataManager model;
        model.loadDatabases(pairing);
        loaded = 0;
        for (const auto& work : model.works())
            loaded += work->annotations.size();
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["annotations"] = static_cast<double>(loaded);
}

// The steps of a load on their own, to see where its time goes.
void BM_StepCopy(benchmark::State& state) {
    DataManager model;
    for (auto _ : state)
        model.copyDatabases(pairing);
}

void BM_StepCheck(benchmark::State& state) {
    DataManager model;
    model.copyDatabases(pairing);
    for (auto _ : state)
        benchmark::DoNotOptimize(model.databasesAreValid());
}

void BM_StepWorksAndAnnotations(benchmark::State& state) {
    DataManager model;
    model.loadDatabases(pairing);
    for (auto _ : state) {
        model.loadWorks();
        model.loadAnnotations();
    }
}

// The search index the window builds over the loaded list, on the same library in the same run.
void BM_SearchIndexOfTheLoad(benchmark::State& state) {
    DataManager model;
    model.loadDatabases(pairing);
    model.applyHideRule(true);
    for (auto _ : state) {
        SearchIndex index;
        index.build(model.filteredWorks());
        benchmark::DoNotOptimize(index.memoryBytes());
    }
}

// The reader's library on the same Books library. The read of the source is the load above; these
// time the library's own part (a read already in memory) and, apart, a whole re-add with its read.
fs::path libraryFile(const char* name) {
    return benchHome / name;
}

void removeLibrary(const fs::path& file) {
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(file.native() + suffix);
}

SourceRead booksRead() {
    DataManager model;
    model.loadDatabases(pairing);
    return BooksSource::describe(model, pairing.annotationSQLFile->parent_path().parent_path().parent_path());
}

void BM_LibraryAddToEmpty(benchmark::State& state) {
    const SourceRead read = booksRead();
    const fs::path file = libraryFile("add.sqlite");
    Library::Counts counts;
    for (auto _ : state) {
        state.PauseTiming();
        removeLibrary(file);
        state.ResumeTiming();
        std::string problem;
        auto library = Library::open(file, problem);
        library->add(read, counts, problem);
    }
    state.counters["added"] = static_cast<double>(counts.added);
}

void BM_LibraryAddUnchanged(benchmark::State& state) {
    const SourceRead read = booksRead();
    const fs::path file = libraryFile("again.sqlite");
    removeLibrary(file);
    std::string problem;
    Library::Counts counts;
    Library::open(file, problem)->add(read, counts, problem);
    for (auto _ : state) {
        auto library = Library::open(file, problem);
        library->add(read, counts, problem);
    }
    state.counters["unchanged"] = static_cast<double>(counts.unchanged);
}

// The re-add as the command line does it: the read of the Books folder included.
void BM_LibraryReadAndAddUnchanged(benchmark::State& state) {
    const fs::path file = libraryFile("again.sqlite");
    std::string problem;
    Library::Counts counts;
    for (auto _ : state) {
        const SourceRead read = booksRead();
        Library::open(file, problem)->add(read, counts, problem);
    }
}

// The re-add as `notara-cli library add` does it now: the files' hash first, and no read when
// they are byte for byte as at the last add.
void BM_LibraryProbeAndKeepUnchanged(benchmark::State& state) {
    const fs::path folder = pairing.annotationSQLFile->parent_path().parent_path().parent_path();
    const fs::path file = libraryFile("probed.sqlite");
    removeLibrary(file);
    std::string problem;
    Library::Counts counts;
    SourceRead read = Sources::read(SourceKind::Books, folder);
    read.filesFingerprint = Sources::probe(SourceKind::Books, folder)->filesFingerprint;
    Library::open(file, problem)->add(read, counts, problem);
    bool kept = false;
    for (auto _ : state) {
        const auto probe = Sources::probe(SourceKind::Books, folder);
        kept =
            probe && Library::open(file, problem)->keepIfUnchanged(SourceKind::Books, *probe, folder, counts);
    }
    if (!kept) state.SkipWithError("the unchanged source was read again");
    state.counters["unchanged"] = static_cast<double>(counts.unchanged);
}

void BM_LibraryOpenAndList(benchmark::State& state) {
    const fs::path file = libraryFile("again.sqlite");
    std::string problem;
    size_t listed = 0;
    for (auto _ : state) {
        auto library = Library::open(file, problem);
        listed = 0;
        std::vector<WorkPtr> works = library->works();
        for (const auto& work : works)
            listed += work->annotations.size();
        benchmark::DoNotOptimize(listed);
        // Freed as the load's are when its model goes (and the window's list when it is replaced).
        Work::release(works);
    }
    state.counters["annotations"] = static_cast<double>(listed);
}

BENCHMARK(BM_StepCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepWorksAndAnnotations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadDatabases)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SearchIndexOfTheLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibraryAddToEmpty)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibraryAddUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibraryReadAndAddUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibraryProbeAndKeepUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibraryOpenAndList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

size_t procStatusKB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stoul(line.substr(std::string_view(field).size()));
    }
    return 0;
}

size_t textBytes(const DataManager& model) {
    size_t bytes = 0;
    for (const auto& work : model.works()) {
        bytes += work->workID.size() + work->workTitle.size() + work->workAuthor.size() +
                 work->downloadedStatus.size();
        for (const auto& a : work->annotations) {
            bytes += a->annotationID.size() + a->annotationUserNotes.size() + a->annotationRepText.size() +
                     a->annotationSelectedText.size() + a->annotationLocationRawText.size() +
                     a->annotationColor.size() + a->annotationChapter.size() + a->annotationPage.size() +
                     a->annotationCreated.size() + a->annotationModified.size();
        }
    }
    return bytes;
}

// Peak resident memory of one load above the resident memory before it.
void measureMemory(const char* where) {
    malloc_trim(0);
    const bool resetPeak = static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5");
    const size_t baselineKB = procStatusKB("VmRSS:");
    const size_t peakBeforeKB = procStatusKB("VmHWM:");
    DataManager model;
    model.loadDatabases(pairing);
    const size_t peakKB = procStatusKB("VmHWM:");
    const size_t afterKB = procStatusKB("VmRSS:");
    const double peakMB = static_cast<double>(peakKB - baselineKB) / 1024.0;
    const double textMB = static_cast<double>(textBytes(model)) / (1024.0 * 1024.0);
    std::printf(
        "memory%s: peak %.1f MB (%.1f MB kept after it) above the %.1f MB before the load%s; loaded text "
        "%.1f MB\n",
        where, peakMB, static_cast<double>(afterKB - baselineKB) / 1024.0, baselineKB / 1024.0,
        resetPeak || peakKB > peakBeforeKB ? "" : " (peak not resettable: upper bound)", textMB);
    std::printf("memory ratio: peak / (2 x text + 30 MB) = %.2f (target <= 1); (peak - 30 MB) / text = %.2f "
                "(target <= 2)\n",
                peakMB / (2 * textMB + 30), (peakMB - 30) / textMB);
}

// Peak memory of an add to an empty library (the read included, as the command line does it) and of
// opening the library and listing it, each above the memory before it.
const auto peakOf = [](const auto& work) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const size_t baselineKB = procStatusKB("VmRSS:");
    work();
    return static_cast<double>(procStatusKB("VmHWM:") - baselineKB) / 1024.0;
};

double addPeak() {
    const fs::path file = libraryFile("memory.sqlite");
    removeLibrary(file);
    return peakOf([&] {
        const SourceRead read = booksRead();
        std::string problem;
        Library::Counts counts;
        Library::open(file, problem)->add(read, counts, problem);
    });
}

double listPeak() {
    return peakOf([&] {
        std::string problem;
        auto library = Library::open(libraryFile("memory.sqlite"), problem);
        benchmark::DoNotOptimize(library->works().size());
    });
}

// Each memory figure is taken in a process of its own (this program run again), so that every
// peak starts from the same fresh heap and none is measured on a heap the others have shaped.
std::string measuredApart(const char* what) {
    const std::string command =
        fs::read_symlink("/proc/self/exe").string() + " --memory-of " + what + " " + benchHome.string();
    std::fflush(stdout);
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    return output;
}

void measureLibraryMemory() {
    const double addMB = std::atof(measuredApart("add").c_str());
    const double listMB = std::atof(measuredApart("list").c_str());
    std::printf("library memory: add peak %.1f MB, open and list peak %.1f MB (each target <= the load's)\n",
                addMB, listMB);
    DataManager model;
    model.loadDatabases(pairing);
    const double text = static_cast<double>(textBytes(model));
    const fs::path file = libraryFile("memory.sqlite");
    size_t fileBytes = 0;
    for (const char* suffix : {"", "-wal"}) {
        std::error_code ec;
        const auto size = fs::file_size(file.native() + suffix, ec);
        if (!ec) fileBytes += size;
    }
    std::printf("library file: %.1f MB for %.1f MB of text, %.2fx (target <= 1.5)\n", fileBytes / 1048576.0,
                text / 1048576.0, static_cast<double>(fileBytes) / text);
}

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            millis[run.run_name.function_name] = run.GetAdjustedRealTime();
            cpuMillis[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> millis;
    std::map<std::string, double> cpuMillis;
};

void useHome(const fs::path& home) {
    benchHome = home;
    ::setenv("HOME", benchHome.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (benchHome / ".local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (benchHome / ".config").c_str(), 1);
    QCoreApplication::setOrganizationName("Notara Bench");
    QCoreApplication::setApplicationName("books_load_bench");
}

} // namespace

int main(int argc, char** argv) {
    const auto dataFolder = [] {
        return test::BooksDataFolder(benchHome / "Library/Containers/com.apple.iBooksX/Data");
    };
    if (argc == 4 && std::string_view(argv[1]) == "--memory-of") {
        useHome(argv[3]);
        const auto folder = dataFolder();
        pairing = {folder.annotationFile, folder.libraryFile};
        const std::string_view what = argv[2];
        if (what == "load")
            measureMemory(" in a fresh process");
        else
            std::printf("%.3f\n", what == "add" ? addPeak() : listPeak());
        return 0;
    }
    // Everything, the generated "Books folder" and the working copies, lives in a
    // temporary home that is removed at the end.
    std::string pattern = (fs::temp_directory_path() / "notara-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    useHome(pattern);

    const auto folder = dataFolder();
    generateLibrary(folder);
    pairing = {folder.annotationFile, folder.libraryFile};
    std::printf(
        "library: %d books, %d annotation rows (%d only in the -wal); files %.1f MB + %.1f MB\n", bookCount,
        annotationCount, annotationsOnlyInLog, fs::file_size(folder.libraryFile) / 1048576.0,
        (fs::file_size(folder.annotationFile) + fs::file_size(folder.annotationFile.native() + "-wal")) /
            1048576.0);

    // Also as measured before the library figures were taken apart: in this process, on the heap
    // the generation has left.
    measureMemory("");
    std::fputs(measuredApart("load").c_str(), stdout);
    measureLibraryMemory();

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.millis.contains("BM_Floor") && reporter.millis.contains("BM_LoadDatabases")) {
        // CPU time is printed as well: on a shared machine the wall-clock figures also
        // measure the neighbours and the disk.
        std::printf("time ratio: loadDatabases / floor = %.2f wall clock, %.2f CPU (target <= 2)\n",
                    reporter.millis["BM_LoadDatabases"] / reporter.millis["BM_Floor"],
                    reporter.cpuMillis["BM_LoadDatabases"] / reporter.cpuMillis["BM_Floor"]);
    }
    if (reporter.millis.contains("BM_SearchIndexOfTheLoad") && reporter.millis.contains("BM_LoadDatabases")) {
        std::printf("search index / load = %.2f wall clock (target <= 0.33)\n",
                    reporter.millis["BM_SearchIndexOfTheLoad"] / reporter.millis["BM_LoadDatabases"]);
    }
    if (reporter.millis.contains("BM_LibraryAddToEmpty") && reporter.millis.contains("BM_LoadDatabases")) {
        const double load = reporter.millis["BM_LoadDatabases"];
        std::printf(
            "library / load: add to empty %.2f (target <= 2; with the read %.2f), add unchanged %.2f, "
            "read and add unchanged %.2f (as the command line now does it, files hashed first: %.2f; target "
            "<= 1), open and list %.2f (target <= 0.5)\n",
            reporter.millis["BM_LibraryAddToEmpty"] / load,
            1 + reporter.millis["BM_LibraryAddToEmpty"] / load,
            reporter.millis["BM_LibraryAddUnchanged"] / load,
            reporter.millis["BM_LibraryReadAndAddUnchanged"] / load,
            reporter.millis["BM_LibraryProbeAndKeepUnchanged"] / load,
            reporter.millis["BM_LibraryOpenAndList"] / load);
    }
    benchmark::Shutdown();
    fs::remove_all(benchHome);
    return 0;
}
