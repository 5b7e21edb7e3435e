#include "notara/core/DataManager.h"

#include "notara/core/MarkdownExport.h"
#include "notara/core/SQLiteManager.h"
#include "notara/core/Utf8.h"

#include "corvane/Corvane.h"
#include "corvane/Report.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace fs = std::filesystem;

namespace notara {

namespace {

bool contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Titles compare by code point after canonical (NFC) normalisation, which is what byte
// order of NFC UTF-8 gives. Only titles that are not already NFC get a normalised copy.
void sortByTitle(std::vector<WorkPtr>& works) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    std::vector<std::string> normalised(works.size());
    std::vector<std::string_view> keys(works.size());
    for (size_t i = 0; i < works.size(); ++i) {
        const std::string& title = works[i]->workTitle;
        keys[i] = title;
        if (isAscii(title) || U_FAILURE(status)) continue;
        UErrorCode check = U_ZERO_ERROR;
        if (nfc->isNormalizedUTF8(title, check) || U_FAILURE(check)) continue;
        icu::StringByteSink<std::string> sink(&normalised[i]);
        UErrorCode normalise = U_ZERO_ERROR;
        nfc->normalizeUTF8(0, title, sink, nullptr, normalise);
        if (U_SUCCESS(normalise)) keys[i] = normalised[i];
    }
    std::vector<size_t> order(works.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<WorkPtr> sorted;
    sorted.reserve(works.size());
    for (size_t i : order)
        sorted.push_back(std::move(works[i]));
    works = std::move(sorted);
}

struct StringViewHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Removes `path` if it exists; false after a report line when that fails.
bool removeIfPresent(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) {
        corvane::Report::line("Unable to remove \"" + path.native() + "\": " + ec.message());
        return false;
    }
    return true;
}

bool copyFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, ec);
    if (ec) {
        corvane::Report::line("Unable to copy \"" + from.native() + "\" to \"" + to.native() +
                              "\": " + ec.message());
        return false;
    }
    return true;
}

fs::path withSuffix(const fs::path& path, std::string_view suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

} // namespace

DataManager& DataManager::shared() {
    static DataManager instance;
    return instance;
}

std::optional<fs::path> DataManager::findSQLiteFile(const fs::path& folder, std::string_view subPath) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder / fs::path(subPath),
                                        fs::directory_options::skip_permission_denied, ec);
    if (ec) return std::nullopt;
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path& path = it->path();
        const std::string name = path.filename().native();
        if (!name.empty() && name.front() == '.') {
            it.disable_recursion_pending();
            continue;
        }
        // Only regular files: a folder named x.sqlite is not a database.
        std::error_code typeError;
        if (path.extension() == ".sqlite" && it->is_regular_file(typeError)) return path;
    }
    return std::nullopt;
}

bool DataManager::loadDatabases(const SQLFilePairing& pairing) {
    if (pairing.annotationSQLFile && pairing.librarySQLFile) copyDatabases(pairing);
    if (!databasesAreValid()) return false;
    setFilteredWorks({});
    works_.clear();
    works_ = loadWorks();
    setFilteredWorks(works_);
    loadAnnotations();
    return true;
}

void DataManager::copyDatabases(const SQLFilePairing& pairing) {
    const std::string working = corvane::Corvane::appDocumentsPath();
    if (!pairing.annotationSQLFile || !pairing.librarySQLFile) return;
    if (working.empty()) {
        corvane::Report::line("Unable to copy the databases: the application has no data folder");
        return;
    }
    annotationSQLFile_ = fs::path(working) / pairing.annotationSQLFile->filename();
    librarySQLFile_ = fs::path(working) / pairing.librarySQLFile->filename();

    const std::pair<const fs::path&, const fs::path&> copies[] = {
        {*pairing.annotationSQLFile, *annotationSQLFile_}, {*pairing.librarySQLFile, *librarySQLFile_}};
    // A -wal or -shm left by an earlier copy would be applied to the new copy and
    // corrupt it; SQLite rebuilds the -shm index itself.
    for (const auto& [original, copy] : copies) {
        std::error_code ec;
        if (fs::equivalent(original, copy, ec)) continue;
        if (!removeIfPresent(copy) || !removeIfPresent(withSuffix(copy, "-wal")) ||
            !removeIfPresent(withSuffix(copy, "-shm")))
            return;
    }
    // Recent changes may live only in the write-ahead log, so it travels with its file.
    // The originals are only read as bytes, never opened with SQLite: closing a connection
    // would fold the log into the user's database.
    for (const auto& [original, copy] : copies) {
        std::error_code ec;
        if (fs::equivalent(original, copy, ec)) continue;
        if (!copyFile(original, copy)) return;
        const fs::path log = withSuffix(original, "-wal");
        if (fs::is_regular_file(log, ec) && !copyFile(log, withSuffix(copy, "-wal"))) return;
    }
}

bool DataManager::databasesAreValid() {
    if (!annotationSQLFile_ || !librarySQLFile_) return false;
    auto hasTable = [](const fs::path& file, std::string_view table) {
        auto db = SQLiteManager::open(SQLiteManager::fileURI(file));
        if (!db) return false;
        const bool found = contains(db->listTables(), table);
        db->close();
        return found;
    };
    const bool annotations = hasTable(*annotationSQLFile_, "ZAEANNOTATION");
    const bool library = hasTable(*librarySQLFile_, "ZBKLIBRARYASSET");
    return annotations && library;
}

std::vector<WorkPtr> DataManager::loadWorks() {
    std::vector<WorkPtr> loaded;
    if (librarySQLFile_) {
        if (auto db = SQLiteManager::open(SQLiteManager::fileURI(*librarySQLFile_))) {
            const auto columns = db->listColumns("ZBKLIBRARYASSET");
            auto column = [&](const char* name) {
                return contains(columns, name) ? std::string(name) : "NULL";
            };
            // A row without a title column is not a book.
            if (contains(columns, "ZSORTTITLE")) {
                // Only the columns a Work keeps; row order is the table's.
                const std::string sql = "SELECT " + column("ZASSETID") + ", ZSORTTITLE, " +
                                        column("ZSORTAUTHOR") + ", " + column("ZDOWNLOADEDDSID") +
                                        " FROM ZBKLIBRARYASSET ORDER BY rowid";
                db->forEachRow(sql, {}, [&](const SQLiteManager::Cursor& row) {
                    auto work = std::make_shared<Work>(row.text(1), row.text(2));
                    work->workID = row.text(0);
                    work->downloadedStatus = row.text(3);
                    loaded.push_back(std::move(work));
                });
            }
            db->close();
        }
    }
    sortByTitle(loaded);
    works_ = loaded;
    return loaded;
}

void DataManager::loadAnnotations() {
    if (!annotationSQLFile_ || works_.empty()) return;
    auto db = SQLiteManager::open(SQLiteManager::fileURI(*annotationSQLFile_));
    if (!db) return;
    const auto columns = db->listColumns("ZAEANNOTATION");
    if (!contains(columns, "ZANNOTATIONASSETID") || !contains(columns, "ZANNOTATIONSELECTEDTEXT")) return;
    auto column = [&](const char* name) { return contains(columns, name) ? std::string(name) : "NULL"; };

    std::unordered_multimap<std::string_view, Work*, StringViewHash, std::equal_to<>> worksByAssetID;
    worksByAssetID.reserve(works_.size());
    for (const auto& work : works_)
        worksByAssetID.emplace(work->workID, work.get());

    // One pass in row order, grouped by asset id: the same rows, in the same order, as a
    // lookup per work, without putting data into SQL text. Deleted highlights stay in the
    // table as tombstones and are skipped.
    std::string sql = "SELECT ZANNOTATIONASSETID, " + column("ZANNOTATIONUUID") + ", " +
                      column("ZANNOTATIONNOTE") + ", " + column("ZANNOTATIONREPRESENTATIVETEXT") +
                      ", ZANNOTATIONSELECTEDTEXT, " + column("ZANNOTATIONLOCATION") +
                      " FROM ZAEANNOTATION WHERE ZANNOTATIONSELECTEDTEXT <> ''";
    if (contains(columns, "ZANNOTATIONDELETED")) sql += " AND ZANNOTATIONDELETED IS NOT 1";
    sql += " ORDER BY rowid";

    std::string decodedID;
    db->forEachRow(sql, {}, [&](const SQLiteManager::Cursor& row) {
        if (row.raw(4).empty()) return;
        std::string_view assetID = row.raw(0);
        if (!isAscii(assetID)) {
            decodedID = validUtf8(assetID);
            assetID = decodedID;
        }
        auto [first, last] = worksByAssetID.equal_range(assetID);
        if (first == last) return;
        auto annotation = std::make_shared<Annotation>();
        annotation->annotationID = row.text(1);
        annotation->annotationUserNotes = row.text(2);
        annotation->annotationRepText = row.text(3);
        annotation->annotationSelectedText = row.text(4);
        annotation->annotationLocationRawText = row.text(5);
        first->second->annotations.push_back(annotation);
        // Two library rows with one asset id each get their own Annotation objects.
        for (auto it = std::next(first); it != last; ++it) {
            it->second->annotations.push_back(std::make_shared<Annotation>(*annotation));
        }
    });
    db->close();
}

void DataManager::applyHideRule(bool hideWorksWithNoAnnotations) {
    if (!hideWorksWithNoAnnotations) {
        setFilteredWorks(works_);
        return;
    }
    std::vector<WorkPtr> shown;
    for (const auto& work : works_) {
        if (!work->annotations.empty()) shown.push_back(work);
    }
    setFilteredWorks(std::move(shown));
}

bool DataManager::exportMarkdown(const Work& work) {
    if (work.annotations.empty()) return false;
    const auto downloads = corvane::Corvane::userDownloadsPath();
    if (!downloads) {
        corvane::Report::line("Unable to export: no Downloads folder is known");
        return false;
    }
    std::error_code ec;
    fs::create_directories(*downloads, ec);
    return exportMarkdownTo(work, *downloads).has_value();
}

std::optional<fs::path> DataManager::exportMarkdownTo(const Work& work, const fs::path& folder,
                                                      int copyNumber,
                                                      const std::optional<std::string>& date) {
    if (work.annotations.empty()) return std::nullopt;
    fs::path path = folder / MarkdownExport::fileName(work.workTitle,
                                                      date ? *date : corvane::Corvane::dateNow(), copyNumber);
    if (!corvane::Corvane::saveContentsToPath(MarkdownExport::markdown(work), path)) return std::nullopt;
    return path;
}

void DataManager::setFilteredWorks(std::vector<WorkPtr> works) {
    notify(Change::WillAssign);
    filteredWorks_ = std::move(works);
    notify(Change::DidAssign);
}

DataManager::ObserverId DataManager::addFilteredWorksObserver(Observer observer) {
    const ObserverId id = nextObserverId_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void DataManager::removeFilteredWorksObserver(ObserverId id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void DataManager::notify(Change change) {
    // A copy, so that an observer may add or remove observers while being told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers)
        observer(change);
}

} // namespace notara
