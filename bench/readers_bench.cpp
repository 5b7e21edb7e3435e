// The Linux readers' stores at a heavy reader's size: 2,000 KOReader sidecars with 100,000
// highlights found and read below one folder, a Foliate folder of 1,000 books, and a calibre
// library with 50,000 annotations (read from its private copy).

#include "notara/core/sources/Sources.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <fstream>
#include <random>

namespace fs = std::filesystem;
using namespace notara;

namespace {

fs::path benchHome;

std::string sentence(std::mt19937& random, std::size_t bytes) {
    static const char* words[] = {"the", "river", "kept", "its", "own", "calendar", "and", "time", "café"};
    std::string text;
    while (text.size() < bytes)
        text += std::string(text.empty() ? "" : " ") + words[random() % std::size(words)];
    return text;
}

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void makeKoreader(const fs::path& root) {
    std::mt19937 random(1);
    for (int book = 0; book < 2000; ++book) {
        std::string file = "-- " + root.string() + "\nreturn {\n    [\"annotations\"] = {\n";
        for (int i = 1; i <= 50; ++i) {
            file +=
                "        [" + std::to_string(i) + "] = {\n            [\"chapter\"] = \"Chapter " +
                std::to_string(i / 10) +
                "\",\n            [\"color\"] = \"yellow\",\n            [\"datetime\"] = \"2025-03-04 21:" +
                std::to_string(10 + i % 50) +
                ":40\",\n            [\"drawer\"] = \"lighten\",\n            [\"pageno\"] = " +
                std::to_string(i * 3) + ",\n            [\"pos0\"] = \"/body/DocFragment[" +
                std::to_string(i / 5 + 1) + "]/body/p[" + std::to_string(i) +
                "]/text().18\",\n            [\"text\"] = \"" + sentence(random, 160) + "\",\n        },\n";
        }
        file += "    },\n    [\"doc_props\"] = {\n        [\"authors\"] = \"Lena Hart\",\n        "
                "[\"title\"] = \"Book " +
                std::to_string(book) + "\",\n    },\n    [\"partial_md5_checksum\"] = \"" +
                std::to_string(100000 + book) + "0000000000000000000000000\",\n}\n";
        write(root / ("shelf" + std::to_string(book % 40)) / ("Book " + std::to_string(book) + ".sdr") /
                  "metadata.epub.lua",
              file);
    }
}

void makeFoliate(const fs::path& root) {
    std::mt19937 random(2);
    for (int book = 0; book < 1000; ++book) {
        std::string file = "{\"annotations\": [";
        for (int i = 0; i < 20; ++i)
            file += std::string(i ? "," : "") + "{\"value\": \"epubcfi(/6/" + std::to_string(2 * (i + 1)) +
                    "!/4/2/" + std::to_string(i) + ",/1:0,/1:20)\", \"color\": \"yellow\", \"text\": \"" +
                    sentence(random, 160) +
                    "\", \"note\": \"\", \"created\": \"2024-05-02T18:04:11.532Z\", \"modified\": \"\"}";
        file += "], \"metadata\": {\"title\": \"Book " + std::to_string(book) +
                "\", \"author\": [{\"name\": \"Ada\"}]}}";
        write(root / ("urn%3Auuid%3A" + std::to_string(book) + ".json"), file);
    }
}

void makeCalibre(const fs::path& root) {
    std::mt19937 random(3);
    fs::create_directories(root);
    sqlite3* db = nullptr;
    sqlite3_open((root / "metadata.db").c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE books (id INTEGER PRIMARY KEY, title TEXT, path TEXT, uuid TEXT);"
                 "CREATE TABLE authors (id INTEGER PRIMARY KEY, name TEXT);"
                 "CREATE TABLE books_authors_link (id INTEGER PRIMARY KEY, book INTEGER, author INTEGER);"
                 "CREATE TABLE annotations (id INTEGER PRIMARY KEY, book INTEGER, format TEXT, user_type "
                 "TEXT, user TEXT, "
                 "timestamp REAL, annot_id TEXT, annot_type TEXT, annot_data TEXT, searchable_text TEXT);"
                 "INSERT INTO authors VALUES (1, 'Ada Okafor'); BEGIN;",
                 nullptr, nullptr, nullptr);
    for (int book = 1; book <= 1000; ++book) {
        const std::string id = std::to_string(book);
        sqlite3_exec(db,
                     ("INSERT INTO books VALUES (" + id + ", 'Book " + id + "', 'p', 'u" + id + "');" +
                      "INSERT INTO books_authors_link (book, author) VALUES (" + id + ", 1);")
                         .c_str(),
                     nullptr, nullptr, nullptr);
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO annotations (book, format, user_type, user, timestamp, annot_id, annot_type, "
        "annot_data, searchable_text) VALUES (?1, 'EPUB', 'local', 'viewer', 1, ?2, 'highlight', ?3, '')",
        -1, &insert, nullptr);
    for (int i = 0; i < 50000; ++i) {
        const std::string uuid = "u" + std::to_string(i);
        const std::string data = "{\"type\": \"highlight\", \"uuid\": \"" + uuid +
                                 "\", \"highlighted_text\": \"" + sentence(random, 160) +
                                 "\", \"spine_index\": " + std::to_string(i % 30) +
                                 ", \"start_cfi\": \"/2/4/" + std::to_string(i % 500) +
                                 "/1:0\", \"timestamp\": \"2023-08-20T11:11:49.002Z\"}";
        sqlite3_bind_int(insert, 1, 1 + i % 1000);
        sqlite3_bind_text(insert, 2, uuid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, data.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void readAll(benchmark::State& state, SourceKind kind, const char* folder) {
    std::size_t highlights = 0;
    for (auto _ : state) {
        const SourceRead read = Sources::read(kind, benchHome / folder);
        highlights = 0;
        for (const auto& work : read.works)
            highlights += work->annotations.size();
    }
    state.counters["highlights"] = static_cast<double>(highlights);
}

void BM_Koreader2000Sidecars(benchmark::State& state) {
    readAll(state, SourceKind::Koreader, "koreader");
}
void BM_Foliate1000Books(benchmark::State& state) {
    readAll(state, SourceKind::Foliate, "foliate");
}
void BM_Calibre50000Annotations(benchmark::State& state) {
    readAll(state, SourceKind::Calibre, "calibre");
}

BENCHMARK(BM_Koreader2000Sidecars)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Foliate1000Books)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Calibre50000Annotations)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    std::string pattern = (fs::temp_directory_path() / "notara-readers-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    benchHome = pattern;
    ::setenv("HOME", benchHome.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (benchHome / ".local/share").c_str(), 1);
    QCoreApplication::setOrganizationName("Notara Bench");
    QCoreApplication::setApplicationName("readers_bench");
    makeKoreader(benchHome / "koreader");
    makeFoliate(benchHome / "foliate");
    makeCalibre(benchHome / "calibre");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(benchHome);
    return 0;
}
