#include "notara/core/sources/books/BooksStoreReader.h"

#include "html/parser/Utf8.h"
#include "notara/core/model/IsoDate.h"
#include "notara/core/sources/books/EpubCfi.h"
#include "notara/core/sqlite/SQLiteManager.h"

#include "html/nodes/StringUtil.h"

#include <sys/mman.h>
#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

#include <algorithm>
#include <cstdint>
#include <future>
#include <memory>
#include <new>
#include <numeric>
#include <string_view>
#include <thread>

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

// The works of each asset id, in works order: (hash, work) pairs sorted by hash in one
// contiguous vector, searched by binary search, so a lookup touches a few cache lines instead
// of chasing a hash table's nodes; works sharing an id are chained in works order.
class AssetIndex {
public:
    static constexpr uint32_t none = UINT32_MAX;

    explicit AssetIndex(const std::vector<WorkPtr>& works) : works_(works), next_(works.size(), none) {
        entries_.reserve(works.size());
        for (size_t i = 0; i < works.size(); ++i)
            entries_.push_back({std::hash<std::string_view>{}(works[i]->workID), static_cast<uint32_t>(i)});
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
        // Chain equal ids behind the first of them, in works order; keep only that first entry.
        std::vector<Entry> firsts;
        firsts.reserve(entries_.size());
        for (size_t i = 0; i < entries_.size();) {
            size_t end = i;
            while (end < entries_.size() && entries_[end].hash == entries_[i].hash)
                ++end;
            for (size_t a = i; a < end; ++a) {
                if (entries_[a].work == none) continue;
                uint32_t last = entries_[a].work;
                firsts.push_back(entries_[a]);
                for (size_t b = a + 1; b < end; ++b) {
                    if (entries_[b].work != none &&
                        works_[entries_[b].work]->workID == works_[last]->workID) {
                        next_[last] = entries_[b].work;
                        last = entries_[b].work;
                        entries_[b].work = none;
                    }
                }
            }
            i = end;
        }
        entries_ = std::move(firsts);
    }

    /// The last id looked up, per reader: highlights of one book mostly come in runs.
    struct Last {
        bool known = false;
        std::string id;
        uint32_t first = none;
    };

    /// Index of the first work with `id`, or `none`; `next` gives the following ones.
    uint32_t first(std::string_view id, Last& last) const {
        if (last.known && id == last.id) return last.first;
        last.known = true;
        last.id.assign(id);
        last.first = none;
        const size_t hash = std::hash<std::string_view>{}(id);
        auto it = std::lower_bound(entries_.begin(), entries_.end(), hash,
                                   [](const Entry& entry, size_t value) { return entry.hash < value; });
        for (; it != entries_.end() && it->hash == hash; ++it) {
            if (works_[it->work]->workID == id) {
                last.first = it->work;
                break;
            }
        }
        return last.first;
    }
    uint32_t next(uint32_t work) const { return next_[work]; }

private:
    struct Entry {
        size_t hash;
        uint32_t work;
    };
    const std::vector<WorkPtr>& works_;
    std::vector<Entry> entries_;
    std::vector<uint32_t> next_;
};

std::string_view colorOfStyle(std::optional<std::int64_t> style, std::optional<std::int64_t> underline) {
    if (underline == 1) return "underline";
    switch (style.value_or(0)) {
    case 1: return "green";
    case 2: return "blue";
    case 3: return "yellow";
    case 4: return "pink";
    case 5: return "purple";
    default: return "";
    }
}

// Rows read and made into annotations, in row order, each with the first work of its asset id,
// until the works take them. The list lives in mappings of its own, each given back to the system
// as soon as the works have taken what it holds: freed into the heap instead, its room would come
// free only after most works' lists had been made, and stay unused.
class RowsRead {
public:
    RowsRead() = default;
    RowsRead(const RowsRead&) = delete;
    RowsRead& operator=(const RowsRead&) = delete;
    ~RowsRead() {
        for (Block* block : blocks_)
            release(block);
    }

    void push(AnnotationPtr annotation, uint32_t owner) {
        if (blocks_.empty() || blocks_.back()->size == kPerBlock) {
            void* map =
                ::mmap(nullptr, sizeof(Block), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (map == MAP_FAILED) throw std::bad_alloc();
            blocks_.push_back(new (map) Block);
        }
        Block& block = *blocks_.back();
        new (&block.annotations[block.size]) AnnotationPtr(std::move(annotation));
        block.owners[block.size++] = owner;
    }

    template <class Visit> void forEachOwner(Visit visit) const {
        for (const Block* block : blocks_)
            for (std::size_t i = 0; i < block->size; ++i)
                visit(block->owners[i]);
    }

    /// Hands every annotation on, in row order, and empties the list block by block.
    template <class Take> void drain(Take take) {
        for (Block*& block : blocks_) {
            for (std::size_t i = 0; i < block->size; ++i)
                take(std::move(*std::launder(reinterpret_cast<AnnotationPtr*>(&block->annotations[i]))),
                     block->owners[i]);
            release(block);
            block = nullptr;
        }
        blocks_.clear();
    }

private:
    static constexpr std::size_t kPerBlock = 8192;
    struct Block {
        std::size_t size = 0;
        uint32_t owners[kPerBlock];
        alignas(AnnotationPtr) unsigned char annotations[kPerBlock][sizeof(AnnotationPtr)];
    };
    static void release(Block* block) {
        if (!block) return;
        for (std::size_t i = 0; i < block->size; ++i)
            std::destroy_at(std::launder(reinterpret_cast<AnnotationPtr*>(&block->annotations[i])));
        block->~Block();
        ::munmap(block, sizeof(Block));
    }
    std::vector<Block*> blocks_;
};

// Below this many rows a second thread costs more than it saves.
constexpr std::int64_t kRowsWorthASecondThread = 20000;

// Reads the rows `sql` gives for rowids `from` to `to` into `read`. Appending to the works while
// reading would touch a random work for every row while the rows stream through the cache.
void readRows(SQLiteManager& db, const std::string& sql, std::int64_t from, std::int64_t to,
              const AssetIndex& index, RowsRead& read) {
    if (from > to) return;
    // One pass reads each page once: a page cache would only hold memory, in the arena of the
    // thread that reads, that the annotations could use.
    db.forEachRow("PRAGMA cache_size = -64", {}, [](const SQLiteManager::Cursor&) {});
    std::string decodedID;
    AssetIndex::Last last;
    EpubCfi cfi; // one, reused for every row
    db.forEachRow(sql, {std::to_string(from), std::to_string(to)}, [&](const SQLiteManager::Cursor& row) {
        // NULL never equals an asset id, not even an empty one.
        if (row.raw(4).empty() || row.isNull(0)) return;
        std::string_view assetID = row.raw(0);
        if (!isAscii(assetID)) {
            decodedID = html::utf8::repaired(assetID, html::utf8::Repair::MaximalSubpart);
            assetID = decodedID;
        }
        const uint32_t work = index.first(assetID, last);
        if (work == AssetIndex::none) return;
        auto annotation = std::make_shared<Annotation>();
        annotation->annotationID = row.text(1);
        annotation->annotationUserNotes = row.text(2);
        annotation->annotationRepText = row.text(3);
        annotation->annotationSelectedText = row.text(4);
        annotation->annotationLocationRawText = row.text(5);
        annotation->annotationColor = colorOfStyle(row.integer(6), row.integer(7));
        annotation->annotationChapter =
            html::utf8::repaired(html::StringUtil::trim(row.raw(8)), html::utf8::Repair::MaximalSubpart);
        AnnotationPosition& position = annotation->annotationPosition;
        if (const auto created = row.real(9))
            annotation->annotationCreated = IsoDate::fromReferenceSeconds(*created);
        if (const auto modified = row.real(10))
            annotation->annotationModified = IsoDate::fromReferenceSeconds(*modified);
        if (const auto spine = row.integer(11)) position.spineIndex = static_cast<std::int32_t>(*spine);
        if (EpubCfi::parseInto(annotation->annotationLocationRawText, cfi)) position.key = cfi.sortKey();
        read.push(std::move(annotation), work);
    });
}

} // namespace

bool BooksStoreReader::holdsBooksTables(const SQLFilePairing& copies) {
    const TableCheck check = checkTables(copies);
    return check.annotationsFound && check.libraryFound;
}

BooksStoreReader::TableCheck BooksStoreReader::checkTables(const SQLFilePairing& copies) {
    if (!copies.annotationSQLFile || !copies.librarySQLFile) return {};
    auto hasTable = [](const fs::path& file, std::string_view table) {
        auto db = SQLiteManager::open(SQLiteManager::fileURI(file));
        if (!db) return false;
        const bool found = contains(db->listTables(), table);
        db->close();
        return found;
    };
    TableCheck check;
    check.annotationsFound = hasTable(*copies.annotationSQLFile, "ZAEANNOTATION");
    check.libraryFound = hasTable(*copies.librarySQLFile, "ZBKLIBRARYASSET");
    return check;
}

std::vector<WorkPtr> BooksStoreReader::readWorks(const fs::path& libraryFile) {
    std::vector<WorkPtr> loaded;
    if (auto db = SQLiteManager::open(SQLiteManager::fileURI(libraryFile))) {
        const auto columns = db->listColumns("ZBKLIBRARYASSET");
        auto column = [&](const char* name) { return contains(columns, name) ? std::string(name) : "NULL"; };
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
                work->workSource = "Apple Books";
                loaded.push_back(std::move(work));
            });
        }
        db->close();
    }
    sortByTitle(loaded);
    return loaded;
}

void BooksStoreReader::readAnnotations(const fs::path& annotationFile, const std::vector<WorkPtr>& works) {
    if (works.empty()) return;
    auto db = SQLiteManager::open(SQLiteManager::fileURI(annotationFile));
    if (!db) return;
    const auto columns = db->listColumns("ZAEANNOTATION");
    if (!contains(columns, "ZANNOTATIONASSETID") || !contains(columns, "ZANNOTATIONSELECTEDTEXT")) return;
    auto column = [&](const char* name) { return contains(columns, name) ? std::string(name) : "NULL"; };

    AssetIndex index(works);

    // One pass in row order, grouped by asset id: the same rows, in the same order, as a
    // lookup per work, without putting data into SQL text. Deleted highlights stay in the
    // table as tombstones and are skipped; rows without selected text are not highlights.
    // Context columns a store lacks read as NULL, which leaves the context empty.
    std::string sql = "SELECT ZANNOTATIONASSETID, " + column("ZANNOTATIONUUID") + ", " +
                      column("ZANNOTATIONNOTE") + ", " + column("ZANNOTATIONREPRESENTATIVETEXT") +
                      ", ZANNOTATIONSELECTEDTEXT, " + column("ZANNOTATIONLOCATION") + ", " +
                      column("ZANNOTATIONSTYLE") + ", " + column("ZANNOTATIONISUNDERLINE") + ", " +
                      column("ZFUTUREPROOFING5") + ", " + column("ZANNOTATIONCREATIONDATE") + ", " +
                      column("ZANNOTATIONMODIFICATIONDATE") + ", " + column("ZPLLOCATIONRANGESTART") +
                      " FROM ZAEANNOTATION";
    sql += contains(columns, "ZANNOTATIONDELETED") ? " WHERE ZANNOTATIONDELETED IS NOT 1 AND" : " WHERE";
    sql += " rowid BETWEEN ?1 AND ?2 ORDER BY rowid";

    // A large table is read in two halves of its rows at once, each on its own connection and
    // thread, and the halves are then joined in row order: on a machine with two cores or more,
    // making the annotations takes about half as long.
    std::int64_t lowest = 0, highest = -1;
    db->forEachRow("SELECT min(rowid), max(rowid) FROM ZAEANNOTATION", {},
                   [&](const SQLiteManager::Cursor& row) {
                       lowest = row.integer(0).value_or(0);
                       highest = row.integer(1).value_or(-1);
                   });
    RowsRead halves[2];
    const bool split =
        highest - lowest >= 2 * kRowsWorthASecondThread && std::thread::hardware_concurrency() > 1;
    const std::int64_t middle = split ? lowest + (highest - lowest) / 2 : highest;
    std::future<bool> secondHalf;
    if (split) {
        secondHalf = std::async(std::launch::async, [&] {
            auto own = SQLiteManager::open(SQLiteManager::fileURI(annotationFile));
            if (!own) return false;
            readRows(*own, sql, middle + 1, highest, index, halves[1]);
            own->close();
            return true;
        });
    }
    readRows(*db, sql, lowest, middle, index, halves[0]);
    if (split && !secondHalf.get()) readRows(*db, sql, middle + 1, highest, index, halves[1]);
    db->close();

    std::vector<uint32_t> counts(works.size(), 0);
    for (const RowsRead& half : halves) {
        half.forEachOwner([&](uint32_t owner) {
            for (uint32_t work = owner; work != AssetIndex::none; work = index.next(work))
                ++counts[work];
        });
    }
    // Each work's list is sized exactly when its first annotation arrives.
    const auto append = [&](uint32_t work, AnnotationPtr annotation) {
        std::vector<AnnotationPtr>& list = works[work]->annotations;
        if (counts[work] != 0) {
            list.reserve(list.size() + counts[work]);
            counts[work] = 0;
        }
        list.push_back(std::move(annotation));
    };
    for (RowsRead& half : halves) {
        half.drain([&](AnnotationPtr annotation, uint32_t owner) {
            // Two library rows with one asset id each get their own Annotation objects.
            for (uint32_t other = index.next(owner); other != AssetIndex::none; other = index.next(other))
                append(other, std::make_shared<Annotation>(*annotation));
            append(owner, std::move(annotation));
        });
    }
}

} // namespace notara
