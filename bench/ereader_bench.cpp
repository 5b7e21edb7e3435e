// Reading what e-readers keep: a 10 MB My Clippings.txt (about 400 books, mixed languages,
// notes, bookmarks and edited highlights) and a KoboReader.sqlite with 50,000 bookmarks in
// 1,000 books. Both are timed as the window reads them: from the file on disk, the Kobo file
// copied into the working folder first.

#include "notara/core/sources/clippings/ClippingsReader.h"
#include "notara/core/sources/kobo/KoboReader.h"
#include "notara/tests/KoboStore.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace notara;
namespace fs = std::filesystem;

namespace {

const fs::path folder = fs::temp_directory_path() / "notara-ereader-bench";

std::string words(std::mt19937_64& random, size_t bytes) {
    static const char* vocabulary[] = {"the",     "road",   "remembered", "her",       "tide",
                                       "harbour", "Straße", "café",       "memory",    "and",
                                       "because", "東京",   "夜",         "lighthouse"};
    std::string text;
    while (text.size() < bytes) {
        if (!text.empty()) text += ' ';
        text += vocabulary[random() % std::size(vocabulary)];
    }
    return text;
}

const fs::path& clippingsFile() {
    static const fs::path path = [] {
        fs::create_directories(folder);
        const fs::path file = folder / "My Clippings.txt";
        std::mt19937_64 random(7);
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF";
        size_t written = 0;
        for (int i = 0; written < 10u << 20; ++i) {
            const int book = static_cast<int>(random() % 400);
            const int location = static_cast<int>(random() % 9000) + 10;
            // Dates over ten years, as a device used that long writes them.
            const std::string added =
                " | Added on Tuesday, March " + std::to_string(1 + random() % 28) + ", " +
                std::to_string(2015 + random() % 10) + " " + std::to_string(1 + random() % 12) + ":" +
                std::to_string(10 + random() % 50) + ":" + std::to_string(10 + random() % 50) +
                (random() % 2 ? " PM" : " AM") + "\r\n\r\n";
            std::string record =
                "Book " + std::to_string(book) + " (Author " + std::to_string(book % 97) + ")\r\n";
            const int kind = static_cast<int>(random() % 10);
            if (kind == 0)
                record += "- Your Bookmark on page 3 | Location " + std::to_string(location) + added;
            else if (kind < 3)
                record +=
                    "- Your Note on Location " + std::to_string(location + 2) + added + words(random, 60);
            else if (kind < 5)
                record += "- Ihre Markierung auf Seite 12 | bei Position " + std::to_string(location) + "-" +
                          std::to_string(location + 2) +
                          " | Hinzugefügt am Freitag, 19. Dezember 2014 08:52:50\r\n\r\n" +
                          words(random, 200);
            else
                record += "- Your Highlight on page 12 | Location " + std::to_string(location) + "-" +
                          std::to_string(location + 2) + added + words(random, 200);
            record += "\r\n==========\r\n";
            out << record;
            written += record.size();
        }
        return file;
    }();
    return path;
}

const fs::path& koboFile() {
    static const fs::path path = [] {
        const fs::path file = folder / "kobo" / "KoboReader.sqlite";
        fs::remove_all(file.parent_path());
        test::KoboStore db(file, test::KoboStore::Generation::Colour);
        db.exec("BEGIN");
        std::mt19937_64 random(11);
        for (int book = 0; book < 1000; ++book) {
            const std::string id = "file:///mnt/onboard/Author " + std::to_string(book) + "/Book " +
                                   std::to_string(book) + ".kepub.epub";
            db.addContent(id, "6", "Book " + std::to_string(book), "Author " + std::to_string(book));
            for (int part = 0; part < 20; ++part) {
                const std::string partID =
                    id.substr(7) + "!!OEBPS/text/part_" + std::to_string(part) + ".xhtml";
                db.addContent(partID, "9", "OEBPS/text/part_" + std::to_string(part) + ".xhtml", std::nullopt,
                              id, part);
                db.addContent(partID + "-1", "899", "Chapter " + std::to_string(part), std::nullopt, id,
                              part);
            }
        }
        for (int i = 0; i < 50000; ++i) {
            test::KoboBookmark mark;
            const int book = static_cast<int>(random() % 1000);
            const int part = static_cast<int>(random() % 20);
            mark.id = "bookmark-" + std::to_string(i);
            mark.volumeID = "file:///mnt/onboard/Author " + std::to_string(book) + "/Book " +
                            std::to_string(book) + ".kepub.epub";
            mark.contentID = mark.volumeID.substr(7) + "!!OEBPS/text/part_" + std::to_string(part) + ".xhtml";
            mark.text = words(random, 200);
            if (i % 5 == 0) mark.annotation = words(random, 60);
            mark.type = i % 5 == 0 ? "note" : "highlight";
            mark.hidden = i % 50 == 0 ? "true" : "false";
            mark.progress = static_cast<double>(random() % 1000) / 1000.0;
            mark.color = static_cast<int>(random() % 4);
            mark.startPath = "span#kobo\\." + std::to_string(random() % 400) + "\\.1";
            db.addBookmark(mark);
        }
        db.exec("COMMIT");
        return file;
    }();
    return path;
}

void BM_Clippings10MB(benchmark::State& state) {
    const fs::path& file = clippingsFile();
    size_t annotations = 0;
    for (auto _ : state) {
        std::string problem;
        const auto works = ClippingsReader::readFile(file, problem);
        annotations = 0;
        for (const auto& work : works)
            annotations += work->annotations.size();
        benchmark::DoNotOptimize(works.data());
    }
    state.counters["annotations"] = static_cast<double>(annotations);
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
}
BENCHMARK(BM_Clippings10MB)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Kobo50000Bookmarks(benchmark::State& state) {
    const fs::path& file = koboFile();
    const fs::path working = folder / "kobo-working";
    size_t annotations = 0;
    for (auto _ : state) {
        std::string problem;
        const auto works = KoboReader::readFile(file, working, problem);
        annotations = 0;
        for (const auto& work : works)
            annotations += work->annotations.size();
        benchmark::DoNotOptimize(works.data());
    }
    state.counters["annotations"] = static_cast<double>(annotations);
}
BENCHMARK(BM_Kobo50000Bookmarks)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
