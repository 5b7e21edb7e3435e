#include "notara/core/DataManager.h"

#include "notara/core/MarkdownExport.h"
#include "notara/core/SQLiteManager.h"
#include "notara/core/Utf8.h"

#include "corvane/Corvane.h"
#include "corvane/Report.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <algorithm>
#include <cstdint>
#include <numeric>

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

// The works of each asset id: an open-addressing table of (hash, first work) with the ids
// copied into one buffer, so that a lookup stays in cache instead of visiting scattered
// Work objects. Works sharing an id are chained in works order.
class AssetIndex {
public:
    static constexpr uint32_t none = UINT32_MAX;

    explicit AssetIndex(const std::vector<WorkPtr>& works) : next_(works.size(), none), keys_(works.size()) {
        size_t capacity = 16;
        while (capacity < works.size() * 2)
            capacity *= 2;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        size_t bytes = 0;
        for (const auto& work : works)
            bytes += work->workID.size();
        text_.reserve(bytes);
        for (size_t i = 0; i < works.size(); ++i) {
            keys_[i] = {static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(works[i]->workID.size())};
            text_ += works[i]->workID;
        }
        // Backwards, so that prepending leaves every chain in works order.
        for (size_t i = works.size(); i-- > 0;) {
            Slot& slot = find(works[i]->workID);
            next_[i] = slot.first;
            slot.first = static_cast<uint32_t>(i);
        }
    }

    /// Index of the first work with `id`, or `none`; `next` gives the following ones.
    uint32_t first(std::string_view id) {
        // Highlights of one book mostly come in runs.
        if (hasLast_ && id == lastID_) return lastFirst_;
        hasLast_ = true;
        lastID_.assign(id);
        lastFirst_ = find(id).first;
        return lastFirst_;
    }
    uint32_t next(uint32_t work) const { return next_[work]; }

private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t first = none;
    };
    struct Key {
        uint32_t offset = 0;
        uint32_t size = 0;
    };

    std::string_view key(uint32_t work) const {
        return std::string_view(text_).substr(keys_[work].offset, keys_[work].size);
    }

    // The slot holding `id`, or the empty slot where it belongs.
    Slot& find(std::string_view id) {
        const size_t full = std::hash<std::string_view>{}(id);
        const auto h = static_cast<uint32_t>(full ^ (full >> 32));
        for (size_t i = full & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.first == none) {
                slot.hash = h;
                return slot;
            }
            if (slot.hash == h && key(slot.first) == id) return slot;
        }
    }

    std::vector<Slot> slots_;
    std::vector<uint32_t> next_;
    std::vector<Key> keys_;
    std::string text_;
    size_t mask_ = 0;
    bool hasLast_ = false;
    std::string lastID_;
    uint32_t lastFirst_ = none;
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
    loadedAnnotations_.clear();
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
    loadedAnnotations_.clear();
    return loaded;
}

void DataManager::loadAnnotations() {
    if (!annotationSQLFile_ || works_.empty()) return;
    auto db = SQLiteManager::open(SQLiteManager::fileURI(*annotationSQLFile_));
    if (!db) return;
    const auto columns = db->listColumns("ZAEANNOTATION");
    if (!contains(columns, "ZANNOTATIONASSETID") || !contains(columns, "ZANNOTATIONSELECTEDTEXT")) return;
    auto column = [&](const char* name) { return contains(columns, name) ? std::string(name) : "NULL"; };

    AssetIndex index(works_);

    // One pass in row order, grouped by asset id: the same rows, in the same order, as a
    // lookup per work, without putting data into SQL text. Deleted highlights stay in the
    // table as tombstones and are skipped; rows without selected text are not highlights.
    std::string sql = "SELECT ZANNOTATIONASSETID, " + column("ZANNOTATIONUUID") + ", " +
                      column("ZANNOTATIONNOTE") + ", " + column("ZANNOTATIONREPRESENTATIVETEXT") +
                      ", ZANNOTATIONSELECTEDTEXT, " + column("ZANNOTATIONLOCATION") + " FROM ZAEANNOTATION";
    if (contains(columns, "ZANNOTATIONDELETED")) sql += " WHERE ZANNOTATIONDELETED IS NOT 1";
    sql += " ORDER BY rowid";

    // First read every row into an Annotation, remembering its first work; then hand them
    // to the works. Appending while reading would touch a random work for every row while
    // the rows stream through the cache.
    const size_t start = loadedAnnotations_.size();
    std::vector<uint32_t> owners;
    std::string decodedID;
    db->forEachRow(sql, {}, [&](const SQLiteManager::Cursor& row) {
        // NULL never equals an asset id, not even an empty one.
        if (row.raw(4).empty() || row.isNull(0)) return;
        std::string_view assetID = row.raw(0);
        if (!isAscii(assetID)) {
            decodedID = validUtf8(assetID);
            assetID = decodedID;
        }
        const uint32_t work = index.first(assetID);
        if (work == AssetIndex::none) return;
        auto annotation = std::make_shared<Annotation>();
        annotation->annotationID = row.text(1);
        annotation->annotationUserNotes = row.text(2);
        annotation->annotationRepText = row.text(3);
        annotation->annotationSelectedText = row.text(4);
        annotation->annotationLocationRawText = row.text(5);
        loadedAnnotations_.push_back(std::move(annotation));
        owners.push_back(work);
    });
    db->close();

    std::vector<uint32_t> counts(works_.size(), 0);
    for (uint32_t owner : owners) {
        for (uint32_t work = owner; work != AssetIndex::none; work = index.next(work))
            ++counts[work];
    }
    for (size_t work = 0; work < works_.size(); ++work) {
        if (counts[work] != 0)
            works_[work]->annotations.reserve(works_[work]->annotations.size() + counts[work]);
    }
    for (size_t i = 0; i < owners.size(); ++i) {
        const AnnotationPtr& annotation = loadedAnnotations_[start + i];
        works_[owners[i]]->annotations.push_back(annotation);
        // Two library rows with one asset id each get their own Annotation objects.
        for (uint32_t other = index.next(owners[i]); other != AssetIndex::none; other = index.next(other)) {
            works_[other]->annotations.push_back(std::make_shared<Annotation>(*annotation));
        }
    }
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
